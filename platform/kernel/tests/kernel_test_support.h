// Test fixtures of the kernel family: a private temporary folder, and a
// registry file of its own for each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

// Makes a fresh folder and removes it with everything in it at the end.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "nuvex-kernel-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    void Write(const std::string& name, const std::string& text) const
    {
        std::filesystem::create_directories(std::filesystem::path(*this / name).parent_path());
        std::ofstream file(*this / name, std::ios::binary);
        file << text;
    }

private:
    std::string m_path;
};

// Sets an environment variable for the test's lifetime.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (m_old) {
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// Every test of this fixture has a registry of its own in a fresh folder.
class IsolatedRegistry : public ::testing::Test {
protected:
    TempFolder m_config;
    ScopedEnvironment m_configDir{"NUVEX_CONFIG_DIR", m_config.Path()};

    std::string RegistryFile() const { return m_config / "registry"; }
    std::string RegistryText() const
    {
        std::ifstream file(RegistryFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
};
