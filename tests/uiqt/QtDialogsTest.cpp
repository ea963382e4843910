// Message boxes, file dialogs and modal windows of the Qt views come up above every other window
// of the program (a progress window that stays on top included) and take the keyboard focus; a file
// dialog opens in its initial folder and names each file type's pattern once.
#include "tests/platform/TempFolder.h"
#include "tests/support/QtWindows.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace {

class QtDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Main = new TForm(nullptr);
        Main->Name = "MainForm";
        Main->SetCaption("Quillmarven");
        Main->SetClientSize(400, 300);
        Menu = new TMainMenu(Main);
        Main->SetMenu(Menu);
        auto* file = NewItem(Menu->Items(), "File1", "&File");
        NewItem(file, "FileOpenItem", "&Open...");
        NewItem(file, "FileExitItem", "E&xit");
        Main->Show();

        // The progress window of a transfer: modeless and always on top.
        Progress = new TForm(Main);
        Progress->Name = "DataBulkDump";
        Progress->BorderStyle = bsDialog;
        Progress->BorderIcons = 0;
        Progress->FormStyle = fsStayOnTop;
        Progress->SetClientSize(255, 49);
        Progress->Show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        delete Main;
        QApplication::processEvents();
    }

    // Runs `open` (which shows a modal window and waits for it); once the window is up and the
    // events are handled, `look` inspects it and `close` ends it.
    static void WhileUp(const std::function<void()>& open, const std::function<bool(QWidget*)>& look,
                        const std::function<void(QWidget*)>& close)
    {
        bool seen = false;
        QTimer poll;
        int rounds = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* up = QApplication::activeModalWidget();
            if (!up || !up->isVisible()) return;
            // Give it a few rounds to settle, as a person's eye would.
            if (++rounds < 5) return;
            if (!seen) {
                seen = true;
                EXPECT_TRUE(look(up));
            }
            close(up);
        });
        poll.start(10);
        open();
        EXPECT_TRUE(seen);
    }

    // Above the other windows (on top of those that stay on top) and holding the focus.
    static bool OnTopWithFocus(QWidget* w)
    {
        EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint) << w->metaObject()->className();
        EXPECT_EQ(QApplication::activeWindow(), w) << w->metaObject()->className();
        EXPECT_TRUE(w->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == w);
        return true;
    }

    QtTestBackend Backend;
    TForm* Main = nullptr;
    TForm* Progress = nullptr;
    TMainMenu* Menu = nullptr;
};

TEST_F(QtDialogsTest, MessageBoxAndModalWindowComeUpAboveTheProgressWindowWithTheFocus)
{
    int answer = 0;
    WhileUp(
        [&] {
            answer = Application->MessageBox("Please connect MIDI cable!", "Quillmarven : MIDI setting error",
                                             MB_OK | MB_ICONEXCLAMATION);
        },
        OnTopWithFocus, [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click(); });
    EXPECT_EQ(answer, IDOK);

    TForm* dialog = new TForm(Main);
    dialog->Name = "StoreNumSelect";
    dialog->BorderStyle = bsDialog;
    dialog->SetClientSize(203, 74);
    auto* edit = new TEdit(dialog);
    edit->SetParent(dialog);
    edit->SetBounds(10, 10, 40, 22);
    WhileUp([&] { dialog->ShowModal(); }, OnTopWithFocus, [&](QWidget*) { dialog->SetModalResult(mrOk); });
    EXPECT_EQ(dialog->ModalResult(), mrOk);
}

TEST_F(QtDialogsTest, FileDialogOpensInItsFolderWithAnEmptyNameBoxAndEachPatternOnce)
{
    namespace fs = std::filesystem;
    // The test's own working folder, removed once the one before is back.
    const TempFolder work;
    fs::create_directories(work / "data");
    struct Back {
        fs::path To;
        ~Back() { fs::current_path(To); }
    } back{fs::current_path()};
    fs::current_path(work.Path());

    // The program's own filters: texts without their pattern, and texts that end with it.
    const struct {
        bool FolderThere;
        const char* Filter;
        const char* Types; // the dialog's type lines, ";;" between two
    } rows[] = {
        {true, "Quillmarven SaveFile(fse)|*.fse|\"Tarnwick\" SaveFile(fs1)|*.fs1",
         "Quillmarven SaveFile(fse) (*.fse);;\"Tarnwick\" SaveFile(fs1) (*.fs1)"},
        {false, "FS1R EG Shape File(*.eg)|*.eg", "FS1R EG Shape File(*.eg)"},
        {false, "MIDI File(SMF Format0)(*.mid)|*.mid", "MIDI File(SMF Format0)(*.mid)"},
    };
    for (const auto& row : rows) {
        const bool folderThere = row.FolderThere;
        SCOPED_TRACE(row.Filter);
        if (!folderThere) fs::remove_all(work / "data");
        TFileDialogRequest request;
        request.Title = "Quillmarven OpenDialog";
        request.Filter = row.Filter;
        request.InitialDir = "data";
        std::optional<std::string> chosen;
        WhileUp([&] { chosen = Application->Backend().FileDialog(request); },
                [&](QWidget* w) {
                    auto* dialog = qobject_cast<QFileDialog*>(w);
                    EXPECT_NE(dialog, nullptr);
                    if (!dialog) return false;
                    const fs::path shown = dialog->directory().absolutePath().toStdString();
                    EXPECT_EQ(fs::weakly_canonical(shown),
                              fs::weakly_canonical(folderThere ? work / "data" : work.Path()));
                    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                    EXPECT_NE(name, nullptr);
                    if (name) {
                        EXPECT_EQ(name->text().toStdString(), "");
                    }
                    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
                    EXPECT_NE(types, nullptr);
                    QStringList shownTypes;
                    for (int i = 0; types && i < types->count(); ++i) shownTypes << types->itemText(i);
                    EXPECT_EQ(shownTypes.join(";;").toStdString(), row.Types);
                    return OnTopWithFocus(w);
                },
                [](QWidget* w) { static_cast<QFileDialog*>(w)->reject(); });
        EXPECT_FALSE(chosen.has_value());
    }
}

} // namespace
