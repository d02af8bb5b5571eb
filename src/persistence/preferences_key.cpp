#include "persistence/preferences_key.h"

namespace tidewell {

std::wstring ChoosePreferencesKey(std::wstring_view variableValue) {
    return variableValue.empty() ? std::wstring(kPreferencesKeyPath) : std::wstring(variableValue);
}

}  // namespace tidewell
