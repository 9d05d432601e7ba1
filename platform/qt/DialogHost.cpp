#include "platform/qt/DialogHost.h"

#include <cstdio>

namespace tabora {

namespace {
StderrDialogHost gStderrHost;
DialogHost* gHost = &gStderrHost;
}  // namespace

void StderrDialogHost::ShowMessage(const std::string& text) {
    std::fprintf(stderr, "tabora: %s\n", text.c_str());
}

std::optional<std::string> ScriptedDialogHost::ChooseFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return {};
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<Color> ScriptedDialogHost::ChooseColor(Color initial) {
    colorRequests.push_back(initial);
    if (colorAnswers.empty()) return {};
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

bool ScriptedDialogHost::Ask(Prompt prompt) {
    prompts.push_back(prompt);
    if (askAnswers.empty()) return false;
    bool answer = askAnswers.front();
    askAnswers.pop_front();
    return answer;
}

DialogHost& Dialogs() { return *gHost; }

DialogHost* SetDialogHost(DialogHost* host) {
    DialogHost* previous = gHost;
    gHost = host ? host : &gStderrHost;
    return previous;
}

}  // namespace tabora
