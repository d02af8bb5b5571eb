#pragma once
// Stand-ins for the user at the modal dialogs: each file dialog and folder browser answers from a
// script, and every message, error and shell request is recorded for the test to read.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/app_error.h"
#include "common/dialogs_win32.h"

namespace tidewell::testing {

class ScriptedDialogs : public Dialogs {
  public:
    // One answer per showing, in order. An answer of nullopt is Cancel. The callback form lets a
    // test look at the dialog's settings (or act while it is "open") before answering.
    using FileAnswer = std::function<std::optional<std::vector<std::wstring>>(FileDialog&)>;
    std::deque<FileAnswer> fileAnswers;
    std::deque<std::optional<std::wstring>> folderAnswers;

    std::vector<std::wstring> shownDialogs;  // component names, in order
    std::vector<std::wstring> folderPrompts;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> errors;

    void AnswerFiles(std::vector<std::wstring> files) {
        fileAnswers.push_back([files](FileDialog&) { return std::optional(files); });
    }
    void AnswerCancel() {
        fileAnswers.push_back(
            [](FileDialog&) { return std::optional<std::vector<std::wstring>>(); });
    }

    bool RunFileDialog(HWND, FileDialog& dialog) override {
        shownDialogs.push_back(dialog.name);
        if (fileAnswers.empty()) return false;
        auto answer = fileAnswers.front()(dialog);
        fileAnswers.pop_front();
        if (!answer || answer->empty()) return false;
        dialog.files = *answer;
        dialog.fileName = answer->front();
        return true;
    }
    std::optional<std::wstring> BrowseForFolder(HWND, const std::wstring& prompt) override {
        folderPrompts.push_back(prompt);
        if (folderAnswers.empty()) return std::nullopt;
        auto answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    }
    void ShowMessage(HWND, const std::wstring& text) override { messages.push_back(text); }
    void ShowError(HWND owner, const std::wstring& text) override {
        errors.push_back(text);
        errorOwnerShown.push_back(owner && ::IsWindowVisible(owner));
    }
    std::vector<bool> errorOwnerShown;  // per error: whether its owner window was on screen
    // One answer per question, in order; "Yes" (as by the user who set the window up) when none
    // is left.
    std::deque<bool> questionAnswers;
    std::vector<std::wstring> questions;
    bool AskYesNo(HWND, const std::wstring& text) override {
        questions.push_back(text);
        const bool answer = questionAnswers.empty() || questionAnswers.front();
        if (!questionAnswers.empty()) questionAnswers.pop_front();
        return answer;
    }
};

class RecordingShell : public Shell {
  public:
    struct Request {
        HWND owner;
        bool wide;
        std::wstring address;  // the 8-bit form widened byte by byte for comparison
    };
    std::vector<Request> requests;
    // When not empty, every request is recorded and then fails with this error, as a command
    // meets an error it did not check for.
    std::wstring failure;

    void OpenA(HWND owner, const std::string& address) override {
        Record({owner, false, std::wstring(address.begin(), address.end())});
    }
    void OpenW(HWND owner, const std::wstring& address) override { Record({owner, true, address}); }

  private:
    void Record(Request request) {
        requests.push_back(std::move(request));
        if (!failure.empty()) throw AppError(failure);
    }
};

}  // namespace tidewell::testing
