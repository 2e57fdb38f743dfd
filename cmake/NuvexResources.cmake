# Module resources: each module describes its menus, dialogs, accelerators,
# string tables, toolbars and images in resource scripts (docs/resources.md).
# The resource compiler, a small host program built first, turns each script
# into a C++ file that is compiled into the module and registers the
# resources with it when the module is loaded.

find_package(PNG REQUIRED)

if(NOT TARGET nuvex_rescomp)
  add_executable(nuvex_rescomp
    ${CMAKE_SOURCE_DIR}/tools/rescomp/main.cpp
    ${CMAKE_SOURCE_DIR}/tools/rescomp/script.cpp
    ${CMAKE_SOURCE_DIR}/tools/rescomp/script_words.cpp
    ${CMAKE_SOURCE_DIR}/tools/rescomp/png_image.cpp
    ${CMAKE_SOURCE_DIR}/platform/kernel/resource_records.cpp)
  target_include_directories(nuvex_rescomp PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(nuvex_rescomp PRIVATE PNG::PNG)
  set_target_properties(nuvex_rescomp PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()

# nuvex_add_resources(TARGET FILES script...)
# Compiles each script into the target. The target must link nuvexplatform
# (the generated code registers its table there). Add the scripts to the
# module that owns the resources: a shared library or the program itself,
# not a static library, whose unreferenced objects the linker may drop.
function(nuvex_add_resources target)
  cmake_parse_arguments(R "" "" "FILES" ${ARGN})
  # A test's target is not made when the tests are off; its resources go too.
  if(NOT TARGET ${target} AND NOT NUVEX_BUILD_TESTS)
    return()
  endif()
  foreach(script ${R_FILES})
    get_filename_component(script_path ${script} ABSOLUTE)
    get_filename_component(script_name ${script} NAME_WE)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${script_name}_resources.cpp)
    add_custom_command(
      OUTPUT ${output}
      COMMAND nuvex_rescomp ${script_path} ${output} ${output}.d
      DEPENDS ${script_path} nuvex_rescomp
      DEPFILE ${output}.d
      COMMENT "Compiling resources ${script}"
      VERBATIM)
    target_sources(${target} PRIVATE ${output})
  endforeach()
endfunction()
