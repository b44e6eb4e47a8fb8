// The host of a program with a GUI: Qt's message box and file dialog.
#include "host/host_p.h"
#include "plat/path.h"
#include "text_qt_p.h"
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

namespace plat {

namespace {

WidgetForHwnd g_widgetFor = nullptr;

QMessageBox::StandardButton standard_button(int id)
{
    switch (id) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDABORT: return QMessageBox::Abort;
    case IDRETRY: return QMessageBox::Retry;
    case IDIGNORE: return QMessageBox::Ignore;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

QMessageBox::Icon icon_of(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int show_box(HWND owner, const char* text, const char* caption, UINT type)
{
    QWidget* parent = WidgetFor(owner);
    QMessageBox box(icon_of(type), qstr_from_ansi(caption), qstr_from_ansi(text), QMessageBox::NoButton,
                    parent);
    box.setTextFormat(Qt::PlainText);
    const bool appModal = !parent || (type & (MB_TASKMODAL | MB_SYSTEMMODAL)) != 0;
    box.setWindowModality(appModal ? Qt::ApplicationModal : Qt::WindowModal);
    if (type & (MB_TOPMOST | MB_SYSTEMMODAL))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);

    int ids[3];
    const int n = BoxButtons(type, ids);
    QAbstractButton* buttons[3] = {};
    for (int i = 0; i < n; ++i)
        buttons[i] = box.addButton(standard_button(ids[i]));
    const int def = BoxDefaultAnswer(type);
    int escape = 0;
    for (int i = 0; i < n; ++i) {
        if (ids[i] == def)
            box.setDefaultButton(static_cast<QPushButton*>(buttons[i]));
        if (ids[i] == IDCANCEL)
            escape = IDCANCEL;
    }
    // Esc and the close button answer Cancel, or OK for a lone OK.
    if (!escape && n == 1)
        escape = ids[0];
    for (int i = 0; i < n; ++i)
        if (ids[i] == escape)
            box.setEscapeButton(buttons[i]);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (int i = 0; i < n; ++i)
        if (clicked == buttons[i])
            return ids[i];
    return escape ? escape : IDCANCEL;
}

class GuiHost final : public UiHost {
public:
    int MessageBox(HWND owner, const char* text, const char* caption, UINT type) override
    {
        if (!QApplication::instance())
            return ConsoleUiHost()->MessageBox(owner, text, caption, type);
        return show_box(owner, text, caption, type);
    }

    bool PromptFileName(FilePrompt& p) override
    {
        if (!QApplication::instance())
            return false;
        QFileDialog dlg(WidgetFor(p.owner), qstr_from_ansi(p.title));
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        dlg.setAcceptMode(p.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(p.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!p.initialDir.empty())
            dlg.setDirectory(QString::fromStdString(ResolveOrKeep(p.initialDir)));
        if (!p.defExt.empty())
            dlg.setDefaultSuffix(qstr_from_ansi(p.defExt));
        QStringList filters;
        for (const auto& [desc, patterns] : p.filters) {
            QString pats = qstr_from_ansi(patterns);
            pats.replace(QLatin1Char(';'), QLatin1Char(' '));
            filters << qstr_from_ansi(desc) + QStringLiteral(" (") + pats + QLatin1Char(')');
        }
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            if (p.filterIndex >= 1 && p.filterIndex <= filters.size())
                dlg.selectNameFilter(filters.at(p.filterIndex - 1));
        }
        if (!p.fileName.empty())
            dlg.selectFile(qstr_from_ansi(p.fileName));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return false;
        p.fileName = Utf8ToAnsi(dlg.selectedFiles().constFirst().toStdString());
        const qsizetype index = filters.indexOf(dlg.selectedNameFilter());
        if (index >= 0)
            p.filterIndex = static_cast<int>(index) + 1;
        return true;
    }

    void Beep(UINT, DWORD, DWORD) override
    {
        if (QApplication::instance())
            QApplication::beep();
    }

    void Exit(int code, ExitKind kind, const char* boxText, const char* boxCaption) override
    {
        if (boxText) {
            if (QApplication::instance())
                show_box(0, boxText, boxCaption ? boxCaption : "Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
            else
                ConsoleUiHost()->MessageBox(0, boxText, boxCaption ? boxCaption : "Error", MB_OK);
        }
        if (kind == ExitKind::Normal)
            std::exit(code);
        std::fflush(nullptr);
        std::_Exit(code);
    }

private:
    static std::string ResolveOrKeep(const std::string& dir)
    {
        std::string out;
        return ResolvePath(dir.c_str(), out) ? out : AnsiToUtf8(dir);
    }
};

} // namespace

void SetWidgetForHwnd(WidgetForHwnd fn) { g_widgetFor = fn; }

QWidget* WidgetFor(HWND hwnd) { return hwnd && g_widgetFor ? g_widgetFor(hwnd) : nullptr; }

UiHost* GuiUiHost()
{
    static GuiHost host;
    return &host;
}

} // namespace plat
