#include "settings/initutility.h"

#include "arithmetic/numbertext.h"
#include "settings/profilefile.h"
#include "settings/profiletext.h"

namespace vorlane {
namespace {

bool isMissing(std::string_view trimmedValue) {
    return trimmedValue.empty() || trimmedValue == MissingValue;
}

// The value as GetIniValue reads it from the file's bytes, before any default takes its place.
std::string trimmedValue(std::string_view bytes, const IniEntry& entry) {
    return std::string(trimSpaces(
        findProfileValue(bytes, entry.section, entry.key).value_or(std::string(MissingValue))));
}

enum class Store { Always, WhereMissing };

// The file's bytes after storing each entry's value in turn, or only those the file lacks.
std::string withEntries(std::string bytes, const std::vector<IniEntry>& entries, Store store) {
    for (const IniEntry& entry : entries) {
        if (store == Store::Always || isMissing(trimmedValue(bytes, entry)))
            bytes = withProfileValue(bytes, entry.section, entry.key, entry.value);
    }
    return bytes;
}

Deadline deadlineAfter(std::chrono::milliseconds timeout) {
    return std::chrono::steady_clock::now() + timeout;
}

} // namespace

std::string iniText(std::int32_t value) {
    return std::to_string(value);
}

std::string iniText(bool value) {
    return value ? "True" : "False";
}

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
    PutIniString(path, section, key, std::string_view(iniText(value)));
}

void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  bool value) {
    PutIniString(path, section, key, std::string_view(iniText(value)));
}

void PutIniStrings(const std::string& path, const std::vector<IniEntry>& entries,
                   std::chrono::milliseconds timeout) {
    editProfileFile(
        path, [&](const std::string& bytes) { return withEntries(bytes, entries, Store::Always); },
        deadlineAfter(timeout));
}

std::string GetIniValue(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
    std::string value(trimSpaces(GetIniString(section, key, path)));
    if (isMissing(value)) {
        value = trimSpaces(defaultValue);
        PutIniString(path, section, key, std::string_view(value));
    }
    return value;
}

std::vector<std::string> GetIniValues(const std::string& path, const std::vector<IniEntry>& entries,
                                      std::chrono::milliseconds timeout) {
    const Deadline deadline = deadlineAfter(timeout);
    const ProfileSnapshot snapshot = readProfileFile(path, deadline);
    std::vector<std::string> values;
    std::vector<IniEntry> defaults;
    for (const IniEntry& entry : entries) {
        values.push_back(trimmedValue(snapshot.bytes, entry));
        if (isMissing(values.back())) {
            values.back() = trimSpaces(entry.value);
            defaults.push_back({entry.section, entry.key, values.back()});
        }
    }
    if (defaults.empty() || !snapshot.settled)
        return values;
    // Another copy may have stored a value since the read: only what is still missing under
    // the lock gets its default.
    editProfileFile(
        path,
        [&](const std::string& bytes) { return withEntries(bytes, defaults, Store::WhereMissing); },
        deadline);
    return values;
}

} // namespace vorlane
