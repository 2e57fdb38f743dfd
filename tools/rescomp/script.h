// Reading a resource script (docs/resources.md) into the byte forms of its
// resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CompiledResource {
    uint16_t type = 0;
    uint16_t id = 0;
    std::vector<uint8_t> bytes;
    int line = 0; // where the script defines it
};

struct ScriptResult {
    std::vector<CompiledResource> resources; // in script order
    std::vector<std::string> dependencies;   // every file read: the script, included headers, images
    std::vector<std::string> errors;         // "file:line: message", empty on success
};

// Reads the script at `path`; images and included headers are found
// relative to the file that names them.
ScriptResult CompileResourceScript(const std::string& path);

// Loads a PNG file as 32-bit blue, green, red, alpha rows (top-down); the
// error text on failure.
struct LoadedImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bgra;
};
std::optional<LoadedImage> LoadPngImage(const std::string& path, std::string& error);
