#include "persistence/registry_strings_win32.h"

#include <cstdint>
#include <vector>

#include "common/app_error.h"
#include "persistence/preference_values.h"

namespace tidewell {

UniqueHKEY OpenPreferencesKey(const std::wstring& path) {
    UniqueHKEY key;
    const LSTATUS status =
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) key.release();
    return key;
}

std::wstring ReadRegistryString(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw AppError(InvalidDataTypeMessage(name));
    // A one-byte value still gets room for one whole code unit; an odd size is cut to whole units,
    // and the read then fails if the value really is longer than that.
    if (size == 1) size = 2;
    std::vector<std::uint8_t> data(size / 2 * 2);
    DWORD read = static_cast<DWORD>(data.size());
    const LSTATUS status = ::RegQueryValueExW(key, name, nullptr, nullptr, data.data(), &read);
    if (status != ERROR_SUCCESS) {
        throw AppError(FailedToGetDataMessage(name), L"RegQueryValueExW",
                       static_cast<unsigned long>(status));
    }
    // The buffer stays whole: a one-byte value fills only half of its code unit, whose other
    // half is still zero.
    return TextFromRegistryData(data);
}

void WriteRegistryString(HKEY key, const wchar_t* name, std::wstring_view text) {
    const std::vector<std::uint8_t> data = RegistryStringData(text);
    const LSTATUS status =
        ::RegSetValueExW(key, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
    if (status != ERROR_SUCCESS) {
        throw AppError(FailedToSetDataMessage(name), L"RegSetValueExW",
                       static_cast<unsigned long>(status));
    }
}

}  // namespace tidewell
