// PNG images read for bitmap, icon and cursor resources.
#include <png.h>

#include "tools/rescomp/script.h"

std::optional<LoadedImage> LoadPngImage(const std::string& path, std::string& error)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        error = std::string("cannot read PNG image: ") + image.message;
        return std::nullopt;
    }
    image.format = PNG_FORMAT_BGRA;
    LoadedImage result;
    result.width = static_cast<int32_t>(image.width);
    result.height = static_cast<int32_t>(image.height);
    result.bgra.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, result.bgra.data(), 0, nullptr) == 0) {
        error = std::string("cannot decode PNG image: ") + image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    return result;
}
