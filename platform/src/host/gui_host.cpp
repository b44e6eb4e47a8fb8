// The host of a program with a GUI: Qt's message box and file dialog.
#include "host/host_p.h"
#include "plat/modal.h"
#include "plat/testing.h"
#include "plat/path.h"
#include "text_qt_p.h"
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace plat {

namespace {

WidgetForHwnd g_widgetFor = nullptr;

// The buttons carry the Win32 captions and keep the Win32 order: the
// standard buttons would be reordered by the style's layout.
const char* button_text(int id)
{
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return "";
    }
}

constexpr const char* ID_PROPERTY = "plat_box_id";

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
    {
        QPushButton* b = box.addButton(QString::fromLatin1(button_text(ids[i])), QMessageBox::ActionRole);
        b->setProperty(ID_PROPERTY, ids[i]);
        buttons[i] = b;
    }
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
        // Names on the classic file system ignore case: "*.VNB" offers
        // "s.Vnb" too.
        dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);
        // The list shows each filter's description as the program wrote it;
        // the patterns appended for Qt stay out of sight.
        dlg.setOption(QFileDialog::HideNameFilterDetails);
        QStringList filters, shown;
        for (const auto& [desc, patterns] : p.filters) {
            QString pats = qstr_from_ansi(patterns);
            pats.replace(QLatin1Char(';'), QLatin1Char(' '));
            filters << qstr_from_ansi(desc) + QStringLiteral(" (") + pats + QLatin1Char(')');
            shown << qstr_from_ansi(desc).trimmed();
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
        // The dialog names the chosen filter as it shows it.
        qsizetype index = filters.indexOf(dlg.selectedNameFilter());
        if (index < 0)
            index = shown.indexOf(dlg.selectedNameFilter().trimmed());
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

void AnswerNextGuiBox(int answer, GuiBoxSeen* seen, const char* pngPath)
{
    auto* timer = new QTimer;
    const std::string png = pngPath ? pngPath : "";
    QObject::connect(timer, &QTimer::timeout, [timer, answer, seen, png] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        if (seen) {
            seen->title = ansi_from_qstr(box->windowTitle());
            seen->text = ansi_from_qstr(box->text());
            seen->buttons.clear();
            seen->defaultButton = 0;
            for (QAbstractButton* b : box->buttons()) {
                const int id = b->property(ID_PROPERTY).toInt();
                seen->buttons.push_back(id);
                if (b == box->defaultButton())
                    seen->defaultButton = id;
            }
            seen->appModal = box->windowModality() == Qt::ApplicationModal;
            seen->modalDepth = ModalDepth();
        }
        if (!png.empty())
            box->grab().save(QString::fromStdString(png), "PNG");
        if (answer == 0) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &esc);
        } else {
            for (QAbstractButton* b : box->buttons())
                if (b->property(ID_PROPERTY).toInt() == answer) {
                    b->click();
                    break;
                }
        }
    });
    timer->start(10);
}

void AnswerNextGuiFilePrompt(const char* name, GuiPromptSeen* seen, int fileType)
{
    auto* timer = new QTimer;
    const std::optional<std::string> choice = name ? std::optional<std::string>(name) : std::nullopt;
    // The folder is read by a worker thread: the list counts as read once it
    // has stopped changing for a while.
    auto stable = std::make_shared<int>(0);
    auto last = std::make_shared<QStringList>();
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, choice, seen, stable, last, ticks, fileType] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible())
            return;
        if (fileType > 0 && *ticks == 0 && fileType <= dlg->nameFilters().size())
            dlg->selectNameFilter(dlg->nameFilters().at(fileType - 1));
        auto* view = dlg->findChild<QListView*>(QStringLiteral("listView"));
        if (!view || !view->model())
            return;
        QStringList names;
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row)
            names << view->model()->index(row, 0, root).data().toString();
        // A folder that never settles ends the prompt with what it shows.
        if ((names.isEmpty() || names != *last) && ++*ticks < 500) {
            *last = names;
            *stable = 0;
            return;
        }
        if (++*stable < 10)
            return;
        timer->stop();
        timer->deleteLater();
        if (seen) {
            seen->offered.clear();
            for (const QString& n : names)
                seen->offered.push_back(n.toStdString());
            seen->filters.clear();
            if (auto* types = dlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                for (int i = 0; i < types->count(); ++i)
                    seen->filters.push_back(ansi_from_qstr(types->itemText(i)));
        }
        if (!choice) {
            dlg->reject();
            return;
        }
        // Typed into the name field, as a person would.
        if (auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->setText(QString::fromStdString(*choice));
        static_cast<QDialog*>(dlg)->accept(); // as the Open button does
        // A name the prompt refuses leaves it open: cancel, so the test
        // fails instead of waiting for ever.
        if (dlg->isVisible())
            dlg->reject();
    });
    timer->start(10);
}

void SetWidgetForHwnd(WidgetForHwnd fn) { g_widgetFor = fn; }

QWidget* WidgetFor(HWND hwnd) { return hwnd && g_widgetFor ? g_widgetFor(hwnd) : nullptr; }

UiHost* GuiUiHost()
{
    static GuiHost host;
    return &host;
}

} // namespace plat
