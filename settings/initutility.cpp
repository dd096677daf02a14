#include "settings/initutility.h"

#include "arithmetic/numbertext.h"
#include "settings/profilefile.h"

namespace vorlane {

std::string GetIniString(std::string_view section, std::string_view key, const std::string& path) {
    return readProfileString(path, section, key, MissingValue);
}

void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  std::string_view value) {
    writeProfileString(path, section, key, value);
}

void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  const char* value) {
    PutIniString(path, section, key, std::string_view(value == nullptr ? "" : value));
}

void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  std::int32_t value) {
    PutIniString(path, section, key, std::string_view(std::to_string(value)));
}

void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  bool value) {
    PutIniString(path, section, key, value ? "True" : "False");
}

std::string GetIniValue(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
    std::string value(trimSpaces(GetIniString(section, key, path)));
    if (value.empty() || value == MissingValue) {
        value = trimSpaces(defaultValue);
        PutIniString(path, section, key, std::string_view(value));
    }
    return value;
}

} // namespace vorlane
