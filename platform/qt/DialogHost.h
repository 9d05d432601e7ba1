#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace tabora {

// What a file dialog is asked to show. `filter` is description and pattern
// pairs separated by '|' and ended by "||" ("GIF File (*.gif)|*.gif||").
struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filter;
    std::string defaultExtension;  // appended when the typed name has none
    std::string initialName;
    std::string directory;  // where the dialog starts; empty: its own choice
    bool overwritePrompt = false;
};

// The yes/no prompts of the program.
enum class Prompt { OpenWithoutSaving, QuitWithoutSaving };

// Every question the program asks a person goes through this interface: the
// GUI implements it with real dialogs, the command line and the tests with
// scripts. Everything is modal: each call returns the user's answer.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    // A message box with one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The chosen full path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
    // The chosen colour, or nothing when cancelled.
    virtual std::optional<Color> ChooseColor(Color initial) = 0;
    // True for the "Yes" answer.
    virtual bool Ask(Prompt prompt) = 0;
};

// Used when nobody installed a host: messages go to standard error, every
// question is answered as if cancelled.
class StderrDialogHost : public DialogHost {
public:
    void ShowMessage(const std::string& text) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return {}; }
    std::optional<Color> ChooseColor(Color) override { return {}; }
    bool Ask(Prompt) override { return false; }
};

// Answers from queues, and remembers every request: for tests.
class ScriptedDialogHost : public DialogHost {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<Color> ChooseColor(Color initial) override;
    bool Ask(Prompt prompt) override;

    std::vector<std::string> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<Color> colorRequests;
    std::vector<Prompt> prompts;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<Color>> colorAnswers;
    std::deque<bool> askAnswers;
};

// The host in use. Never null.
DialogHost& Dialogs();
// Installs a host (nullptr restores the standard-error host); returns the
// previous one. The caller keeps ownership.
DialogHost* SetDialogHost(DialogHost* host);

// A message box with one OK button, through the current host.
inline void ShowMessage(const std::string& text) { Dialogs().ShowMessage(text); }

}  // namespace tabora
