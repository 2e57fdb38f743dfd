// The resource compiler: turns a resource script into a C++ file that holds
// the resources' bytes and registers them with the module it is linked into.
//
//   nuvex_rescomp SCRIPT OUTPUT.cpp [DEPFILE]
//
// Errors are printed as "file:line: message", one per line; the exit code is
// 1 when there was any, and no output is written then.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/rescomp/script.h"

namespace {

std::string EscapeDependency(const std::string& path)
{
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#') {
            out += '\\';
        } else if (c == '$') {
            out += '$';
        }
        out += c;
    }
    return out;
}

std::string Generate(const std::string& script, const ScriptResult& result)
{
    std::ostringstream out;
    out << "// Generated from " << script << " by the resource compiler; do not edit.\n"
        << "#include \"platform/kernel/resource.h\"\n\nnamespace {\n\n";
    for (size_t i = 0; i < result.resources.size(); ++i) {
        const CompiledResource& resource = result.resources[i];
        out << "// type " << resource.type << ", id " << resource.id << " (line " << resource.line << ")\n"
            << "const BYTE kResource" << i << "[] = {";
        // An empty resource still gets one byte, as C++ has no empty arrays.
        const size_t count = resource.bytes.empty() ? 1 : resource.bytes.size();
        for (size_t b = 0; b < count; ++b) {
            if (b % 16 == 0) {
                out << "\n   ";
            }
            out << ' ' << static_cast<unsigned>(resource.bytes.empty() ? 0 : resource.bytes[b]) << ',';
        }
        out << "\n};\n\n";
    }
    out << "const ResourceEntry kResources[] = {\n";
    for (size_t i = 0; i < result.resources.size(); ++i) {
        const CompiledResource& resource = result.resources[i];
        out << "    {" << resource.type << ", " << resource.id << ", kResource" << i << ", " << resource.bytes.size()
            << "},\n";
    }
    if (result.resources.empty()) {
        out << "    {0, 0, nullptr, 0},\n";
    }
    out << "};\n\nconst ModuleResourceRegistration kRegistration(kResources, " << result.resources.size()
        << ");\n\n} // namespace\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s SCRIPT OUTPUT.cpp [DEPFILE]\n", argv[0]);
        return 2;
    }
    const std::string script = argv[1];
    const std::string output = argv[2];
    const ScriptResult result = CompileResourceScript(script);
    if (!result.errors.empty()) {
        for (const std::string& error : result.errors) {
            std::fprintf(stderr, "%s\n", error.c_str());
        }
        return 1;
    }
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file << Generate(script, result);
    if (!file.flush()) {
        std::fprintf(stderr, "%s: cannot write the output\n", output.c_str());
        return 1;
    }
    if (argc == 4) {
        std::ofstream depfile(argv[3], std::ios::binary | std::ios::trunc);
        depfile << EscapeDependency(output) << ":";
        for (const std::string& dependency : result.dependencies) {
            depfile << " \\\n  " << EscapeDependency(dependency);
        }
        depfile << "\n";
    }
    return 0;
}
