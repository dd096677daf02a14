#include "settings/initutility.h"

#include "arithmetic/numbertext.h"

#include <algorithm>
#include <optional>

namespace vorlane {
namespace {

// A value that counts as not stored: its default takes its place and is written back.
bool isMissing(std::string_view trimmedValue) {
    return trimmedValue.empty() || trimmedValue == MissingValue;
}

std::string trimmed(const std::optional<std::string>& value) {
    return std::string(trimSpaces(value.value_or(std::string(MissingValue))));
}

} // namespace

std::string iniText(std::int32_t value) {
    return std::to_string(value);
}

std::string iniText(bool value) {
    return value ? "True" : "False";
}

void PutIniStrings(const SettingsLocation& location, const std::vector<IniEntry>& entries,
                   std::chrono::milliseconds wait) {
    if (prepareWrite(location))
        writeProfileValues(location.path, entries, {}, wait);
}

std::vector<std::string> GetIniValues(const SettingsLocation& location,
                                      const std::vector<IniEntry>& entries,
                                      std::chrono::milliseconds wait) {
    const auto start = std::chrono::steady_clock::now();
    const ProfileValues read = readProfileValues(readPath(location), entries, wait);
    std::vector<std::string> values;
    std::vector<IniEntry> defaults;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        values.push_back(trimmed(read.values[i]));
        if (isMissing(values.back())) {
            values.back() = trimSpaces(entries[i].value);
            defaults.push_back({entries[i].section, entries[i].key, values.back()});
        }
    }
    if (defaults.empty() || !read.settled || !prepareWrite(location))
        return values;
    // Another copy may have stored a value since the read: only what is still missing when the
    // write holds the file gets its default.
    const auto left = wait - std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start);
    writeProfileValues(
        location.path, defaults,
        [](const std::optional<std::string>& current) { return isMissing(trimmed(current)); },
        std::max(left, std::chrono::milliseconds::zero()));
    return values;
}

} // namespace vorlane
