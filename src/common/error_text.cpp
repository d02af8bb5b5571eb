#include "common/error_text.h"

#include <new>

#include "common/app_error.h"

namespace tidewell {

std::wstring ErrorBoxText(std::wstring_view message) {
    std::wstring text(message);
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}

std::wstring UserErrorText(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const AppError& failure) {
        return failure.Message();
    } catch (const std::bad_alloc&) {
        return L"There is not enough memory to finish the command.";
    } catch (...) {
    }
    return L"The command could not be finished because of an unexpected error.";
}

}  // namespace tidewell
