// The scripted host tests answer boxes and prompts with.
#include "plat/modal.h"
#include "plat/testing.h"
#include <string_view>

namespace plat {

namespace {

bool matches(std::string_view have, const std::string& want, ScriptedHost::Match m)
{
    if (want.empty())
        return true;
    if (m == ScriptedHost::Match::Exact)
        return have == want;
    return have.find(want) != std::string_view::npos;
}

} // namespace

ScriptedHost::ScriptedHost(bool install)
{
    if (install) {
        previous_ = SetUiHost(this);
        installed_ = true;
    }
}

ScriptedHost::~ScriptedHost()
{
    if (installed_ && GetUiHost() == this)
        SetUiHost(previous_);
}

ScriptedHost& ScriptedHost::Answer(int answer, std::string caption, std::string text, Match match,
                                   int times)
{
    scripts_.push_back({answer, std::move(caption), std::move(text), match, times});
    return *this;
}

ScriptedHost& ScriptedHost::ChoosePath(std::string path)
{
    promptAnswers_.push_back({true, std::move(path)});
    return *this;
}

ScriptedHost& ScriptedHost::CancelPrompt()
{
    promptAnswers_.push_back({false, {}});
    return *this;
}

ScriptedHost& ScriptedHost::OnDialog(int templateId, std::function<void(HWND)> action)
{
    dialogActions_[templateId] = std::move(action);
    return *this;
}

void ScriptedHost::clear_records()
{
    boxes_.clear();
    prompts_.clear();
    beeps_.clear();
    exits_.clear();
    dialogs_.clear();
}

int ScriptedHost::MessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    const std::string_view t = text ? text : "";
    const std::string_view c = caption ? caption : "";
    for (auto it = scripts_.begin(); it != scripts_.end(); ++it) {
        if (!matches(c, it->caption, it->match) || !matches(t, it->text, it->match))
            continue;
        const int answer = it->answer;
        if (it->times > 0 && --it->times == 0)
            scripts_.erase(it);
        boxes_.push_back({owner, std::string(t), std::string(c), type, answer, ModalDepth()});
        return answer;
    }
    boxes_.push_back({owner, std::string(t), std::string(c), type, 0, ModalDepth()});
    throw UnexpectedBox("unscripted box \"" + std::string(c) + "\": " + std::string(t));
}

bool ScriptedHost::PromptFileName(FilePrompt& prompt)
{
    prompts_.push_back(prompt);
    if (promptAnswers_.empty())
        throw UnexpectedBox("unscripted file prompt \"" + prompt.title + "\"");
    const PromptAnswer a = promptAnswers_.front();
    promptAnswers_.erase(promptAnswers_.begin());
    if (a.ok)
        prompt.fileName = a.path;
    return a.ok;
}

void ScriptedHost::DialogShown(HWND dialog, int templateId)
{
    dialogs_.emplace_back(dialog, templateId);
    auto it = dialogActions_.find(templateId);
    if (it != dialogActions_.end())
        it->second(dialog);
}

void ScriptedHost::Beep(UINT type, DWORD freq, DWORD ms) { beeps_.push_back({type, freq, ms}); }

void ScriptedHost::Exit(int code, ExitKind kind, const char* boxText, const char* boxCaption)
{
    std::string text = boxText ? boxText : "";
    std::string caption = boxCaption ? boxCaption : "";
    if (boxText)
        boxes_.push_back({0, text, caption, MB_ICONSTOP | MB_TASKMODAL, IDOK, ModalDepth()});
    exits_.push_back({code, kind, text, caption});
    throw ExitRequest(code, kind, std::move(text), std::move(caption));
}

} // namespace plat
