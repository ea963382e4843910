#include "ui/qt/QtBackend.h"

#include "ui/qt/QtViews.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>
#include <QThreadPool>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <utility>

#include <sys/eventfd.h>
#include <unistd.h>

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers m)
{
    TShiftState s;
    if (m & Qt::ShiftModifier) s << ssShift;
    if (m & Qt::ControlModifier) s << ssCtrl;
    if (m & Qt::AltModifier) s << ssAlt;
    return s;
}

// The Windows virtual key of a Qt key; 0 for keys the program never sees.
uint16_t VirtualKeyOf(int key)
{
    struct Row {
        int qt;
        uint16_t vk;
    };
    static const Row rows[] = {
        {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
        {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Escape, VK_ESCAPE},
        {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
        {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
        {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
        {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Shift, VK_SHIFT},
        {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},      {Qt::Key_Pause, VK_PAUSE},
    };
    for (const Row& r : rows)
        if (r.qt == key) return r.vk;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return uint16_t(VK_F1 + (key - Qt::Key_F1));
    // Printable keys: Qt numbers them by their ASCII character.
    if (key > 0x20 && key < 0x7F) return KeyForChar(char(key)).Key;
    return 0;
}

bool Printable(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return true;
}

// Draws text for TCanvas::TextOut with Qt's fonts, blended onto the bitmap's pixels.
TPoint RenderText(TBitmap* target, int x, int y, const std::string& text, const TFont& font)
{
    QFont f = ToQFont(font);
    QFontMetrics fm(f);
    QString s = Q(text);
    int w = std::max(1, fm.horizontalAdvance(s)), h = std::max(1, fm.height());
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setFont(f);
        p.setPen(ToQColor(font.Color));
        p.drawText(0, fm.ascent(), s);
    }
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) {
            QRgb px = img.pixel(xx, yy);
            int a = qAlpha(px);
            if (a == 0) continue;
            TColor under = target->Pixel(x + xx, y + yy);
            if (under == clNone) continue;
            auto mix = [a](int fg, unsigned bg) { return unsigned((fg * 255 + int(bg) * (255 - a)) / 255); };
            // The image is premultiplied: its channels already carry the alpha.
            target->SetPixelRaw(x + xx, y + yy,
                                RGB(mix(qRed(px), GetRValue(under)), mix(qGreen(px), GetGValue(under)),
                                    mix(qBlue(px), GetBValue(under))));
        }
    return {w, h};
}

} // namespace

// Every input event of our windows passes here first: keys, the wheel and the mouse on drawn
// controls go to the ui; focus and activation follow the ui.
class QtEventFilter : public QObject {
public:
    explicit QtEventFilter(QtBackend& b) : B(b) {}

    bool eventFilter(QObject* o, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::FocusIn:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::WindowStateChange: break;
        case QEvent::ApplicationActivate:
        case QEvent::ApplicationDeactivate:
            if (o == qApp) B.ApplicationActivationChanged(e->type() == QEvent::ApplicationActivate);
            return false;
        default: return false;
        }
        if (!o->isWidgetType() || B.FEndingHold) return false;
        auto* w = static_cast<QWidget*>(o);
        // An open menu is a window of its own: its keys walk it, choose and close it.
        if (qobject_cast<QMenu*>(w->window())) return false;
        auto* form = dynamic_cast<TForm*>(B.ControlFor(w->window()));
        if (!form) return false;
        switch (e->type()) {
        case QEvent::ShortcutOverride: {
            auto* k = static_cast<QKeyEvent*>(e);
            // Alt+letter opens the menu bar's menus unless a ui shortcut claims it.
            bool altLetter = (k->modifiers() & Qt::AltModifier) && k->key() >= Qt::Key_A && k->key() <= Qt::Key_Z;
            TShortCut sc = ShortCut(VirtualKeyOf(k->key()), ShiftOf(k->modifiers()));
            if (altLetter && !(form->Menu() && form->Menu()->Items()->FindShortCut(sc))) return false;
            e->accept();
            return true;
        }
        case QEvent::KeyPress: Key(form, static_cast<QKeyEvent*>(e)); return true;
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(e);
            uint16_t vk = VirtualKeyOf(k->key());
            if (!k->isAutoRepeat() && vk) form->UserReleasesKey(vk, ShiftOf(k->modifiers()));
            return true;
        }
        case QEvent::InputMethod: {
            std::string s = static_cast<QInputMethodEvent*>(e)->commitString().toStdString();
            if (auto* edit = dynamic_cast<TEdit*>(form->ActiveControl()); edit && !s.empty()) edit->UserTypes(s);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (e->type() == QEvent::MouseButtonPress) {
                B.FHeld = w;
                B.FHeldButton = m->button();
            } else if (e->type() == QEvent::MouseButtonRelease && m->buttons() == Qt::NoButton) {
                B.FHeld = nullptr;
            }
            // The X11 selection paste would edit a box behind the ui's back.
            if (qobject_cast<QLineEdit*>(w) && m->button() == Qt::MiddleButton) return true;
            for (QWidget* x = w; x; x = x->parentWidget())
                if (QtView* v = B.ViewOfWidget(x)) return v->Mouse(w, m);
            return false;
        }
        case QEvent::Wheel: {
            // Anywhere in the form's window, its menu bar too, the wheel is the form's, told in
            // client coordinates; an open menu is a window of its own, whose wheel is Qt's.
            QtView* v = B.ViewFor(form);
            if (!v || w->window() != v->Widget) return false;
            auto* wh = static_cast<QWheelEvent*>(e);
            const QPoint p = MapBetween(w, v->Container(), wh->position());
            form->UserWheels(wh->angleDelta().y(), TPoint{p.x(), p.y()}, ShiftOf(wh->modifiers()));
            return true;
        }
        case QEvent::FocusIn: {
            auto* f = static_cast<QFocusEvent*>(e);
            if (f->reason() == Qt::MouseFocusReason)
                if (auto* c = dynamic_cast<TWinControl*>(B.ControlFor(w)); c && !c->Focused() && c != form)
                    c->UserFocuses();
            if (f->reason() == Qt::MouseFocusReason || f->reason() == Qt::ActiveWindowFocusReason) SyncFocus(form);
            return false;
        }
        case QEvent::WindowActivate:
            if (w == w->window()) {
                Application->Dispatch([form] { form->Activate(); });
                SyncFocus(form);
            }
            return false;
        // The keys go elsewhere now: the window lost the activation (its focus widget's focus-out
        // comes with it), or it was minimized.
        case QEvent::WindowDeactivate:
            if (w == w->window()) B.WindowDeactivated(w);
            return false;
        case QEvent::WindowStateChange:
            if (w == w->window() && w->isMinimized()) B.WindowDeactivated(w);
            return false;
        default: return false;
        }
    }

private:
    void SyncFocus(TForm* form)
    {
        if (TWinControl* c = form->ActiveControl())
            if (QtView* v = B.ViewFor(c)) v->Changed();
    }

    void Key(TForm* form, QKeyEvent* k)
    {
        TShiftState shift = ShiftOf(k->modifiers());
        bool command = shift.Contains(ssCtrl) || shift.Contains(ssAlt);
        if (!command && Printable(k->text())) {
            std::string text = k->text().toStdString();
            if (auto* edit = dynamic_cast<TEdit*>(form->ActiveControl())) {
                edit->UserTypes(text);
                return;
            }
            if (uint16_t vk = VirtualKeyOf(k->key())) form->UserPressesKey(vk, shift);
            for (char c : text) form->UserTypesChar(c);
            return;
        }
        uint16_t vk = VirtualKeyOf(k->key());
        if (k->key() == Qt::Key_Backtab) shift << ssShift;
        if (vk) form->UserPressesKey(vk, shift);
    }

    QtBackend& B;
};

// A message box, file dialog or modal window of the program comes up above every other window
// of it, the progress window that stays on top included, and takes the keyboard focus.
static void ComeUpOnTop(QWidget* window)
{
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QTimer::singleShot(0, window, [window] {
        if (!window->isVisible()) return;
        if (QGuiApplication::platformName() != "offscreen") window->raise();
        window->activateWindow();
    });
}

// ---- the back end ---------------------------------------------------------------------------

QtBackend::QtBackend(int& argc, char** argv)
{
    if (!QApplication::instance()) FOwnedApp = std::make_unique<QApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows paint small pictures and many small controls: handing each image conversion to
    // Qt's pooled threads costs more in wake-ups than it saves (a whole-page refresh took twice
    // as long), so they run on the one UI thread.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    FWaker = std::make_unique<QObject>();
    // Other threads wake the loop by writing to an eventfd: one system call, no lock and no
    // allocation, so the MIDI input's thread (JACK's process thread) may do it. The counter
    // folds any number of writes into one read.
    FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (FWakeFd < 0) throw std::runtime_error("The event loop cannot be woken (eventfd failed).");
    FWakeNotifier = std::make_unique<QSocketNotifier>(FWakeFd, QSocketNotifier::Read);
    QObject::connect(FWakeNotifier.get(), &QSocketNotifier::activated, [fd = FWakeFd] {
        uint64_t count;
        while (read(fd, &count, sizeof count) == sizeof count) {}
        Application->ProcessPosted();
    });
    FFilter = std::make_unique<QtEventFilter>(*this);
    qApp->installEventFilter(FFilter.get());
    FStart = uint64_t(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
    TCanvas::TextRenderer = RenderText;
    FPrevious = Application->SetBackend(this);
}

QtBackend::~QtBackend()
{
    qApp->removeEventFilter(FFilter.get());
    Application->SetBackend(FPrevious == this ? nullptr : FPrevious);
    TCanvas::TextRenderer = nullptr;
    for (auto& [timer, q] : FTimers) delete q;
    FTimers.clear();
    // The controls live on; only their windows go.
    std::vector<QtView*> views;
    for (auto& [c, v] : FViews) {
        const_cast<TComponent*>(c)->View = nullptr;
        views.push_back(v);
    }
    std::vector<QPointer<QWidget>> windows;
    for (QtView* v : views)
        if (dynamic_cast<TForm*>(v->Component) && v->Widget) windows.emplace_back(v->Widget);
    for (QtView* v : views) delete v;
    for (auto& w : windows) delete w.data();
    FViews.clear();
    FWidgetOwner.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FWakeNotifier.reset();
    close(FWakeFd);
    FWaker.reset();
    FOwnedApp.reset();
}

void QtBackend::Register(const TComponent* c, QtView* v) { FViews[c] = v; }

void QtBackend::Unregister(const TComponent* c)
{
    auto it = FViews.find(c);
    if (it == FViews.end()) return;
    for (auto w = FWidgetOwner.begin(); w != FWidgetOwner.end();)
        w = w->second == c ? FWidgetOwner.erase(w) : std::next(w);
    FViews.erase(it);
}

QtView* QtBackend::ViewFor(const TComponent* c) const
{
    auto it = FViews.find(c);
    return it == FViews.end() ? nullptr : it->second;
}

QtView* QtBackend::ViewOfWidget(const QWidget* w) const
{
    auto it = FWidgetOwner.find(w);
    return it == FWidgetOwner.end() ? nullptr : ViewFor(it->second);
}

QtView* QtBackend::BuildViews(TComponent* c, QWidget* parentContainer)
{
    QtView* v = MakeView(*this, c, parentContainer);
    if (!v) return nullptr;
    if (dynamic_cast<TControl*>(c) && v->Widget) FWidgetOwner[v->Widget.data()] = c;
    v->Sync();
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i)
            if (!w->Controls(i)->View) BuildViews(w->Controls(i), v->Container());
    if (auto* m = dynamic_cast<TMenuItem*>(c))
        for (int i = 0; i < m->Count(); ++i)
            if (!m->Items(i)->View) BuildViews(m->Items(i), v->Container());
    v->Sync();
    return v;
}

void QtBackend::ShowForm(TForm* form)
{
    if (!form->View) BuildViews(form, nullptr);
}

QWidget* QtBackend::WidgetFor(const TComponent* c) const
{
    QtView* v = ViewFor(c);
    return v ? v->Widget.data() : nullptr;
}

QWidget* QtBackend::WindowFor(const TForm* form) const { return WidgetFor(form); }

QAction* QtBackend::ActionFor(const TMenuItem* item) const
{
    QtView* v = ViewFor(item);
    return v ? MenuActionOf(v) : nullptr;
}

TControl* QtBackend::ControlFor(const QWidget* w) const
{
    for (; w; w = w->parentWidget()) {
        auto it = FWidgetOwner.find(w);
        if (it != FWidgetOwner.end()) return dynamic_cast<TControl*>(const_cast<TComponent*>(it->second));
    }
    return nullptr;
}

QImage QtBackend::Grab(const TForm* form) const
{
    QWidget* w = WindowFor(form);
    return w ? w->grab().toImage() : QImage();
}

bool QtBackend::GrabPng(const TForm* form, const std::string& path) const
{
    QImage img = Grab(form);
    return !img.isNull() && img.save(Q(path), "PNG");
}

// The form learns it once the window system's events of the change are through (a focus change
// comes as several), outside the window system's own handling of them, where a box its handler
// shows would run a loop of its own; and not when the activation came back meanwhile.
void QtBackend::WindowDeactivated(QWidget* window)
{
    QTimer::singleShot(0, window, [this, window] {
        auto* form = dynamic_cast<TForm*>(ControlFor(window));
        if (form && (QApplication::activeWindow() != window || window->isMinimized()))
            Application->Dispatch([form] { form->Deactivate(); });
    });
}

void QtBackend::ApplicationActivationChanged(bool active)
{
    FApplicationActive = active;
    if (!active)
        QTimer::singleShot(0, FWaker.get(), [this] {
            if (!FApplicationActive) Application->Dispatch([] { Application->Deactivate(); });
        });
}

void QtBackend::EndMouseHold()
{
    QPointer<QWidget> held = std::exchange(FHeld, nullptr);
    if (!held) return;
    // Up outside the control, where no button takes it for a click; the ui hears nothing of it.
    const QPointF away(-1, -1);
    QMouseEvent release(QEvent::MouseButtonRelease, away, held->mapToGlobal(away), FHeldButton, Qt::NoButton,
                        Qt::NoModifier);
    FEndingHold = true;
    QCoreApplication::sendEvent(held, &release);
    FEndingHold = false;
}

int QtBackend::MessageBox(const TMessageBoxRequest& r)
{
    EndMouseHold();
    struct Row {
        int buttons;
        QMessageBox::StandardButtons qt;
    };
    static const Row rows[] = {
        {MB_OK, QMessageBox::Ok},
        {MB_OKCANCEL, QMessageBox::Ok | QMessageBox::Cancel},
        {MB_ABORTRETRYIGNORE, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore},
        {MB_YESNOCANCEL, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
        {MB_YESNO, QMessageBox::Yes | QMessageBox::No},
        {MB_RETRYCANCEL, QMessageBox::Retry | QMessageBox::Cancel},
    };
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    for (const Row& row : rows)
        if (row.buttons == r.Buttons) buttons = row.qt;
    QMessageBox::Icon icon = r.Icon == MB_ICONERROR         ? QMessageBox::Critical
                             : r.Icon == MB_ICONQUESTION    ? QMessageBox::Question
                             : r.Icon == MB_ICONWARNING     ? QMessageBox::Warning
                             : r.Icon == MB_ICONINFORMATION ? QMessageBox::Information
                                                            : QMessageBox::NoIcon;
    QMessageBox box(icon, Q(r.Caption), Q(r.Text), buttons);
    ComeUpOnTop(&box);
    switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Abort: return IDABORT;
    case QMessageBox::Retry: return IDRETRY;
    case QMessageBox::Ignore: return IDIGNORE;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return (buttons & QMessageBox::Cancel) ? IDCANCEL : IDOK;
    }
}

std::optional<std::string> QtBackend::FileDialog(TFileDialogRequest& r)
{
    EndMouseHold();
    // "Text|*.a;*.b|Text|*" becomes Qt's "Text (*.a *.b);;Text (*)". A text that ends with its
    // patterns in brackets already ("Shape file (*.eg)|*.eg") is shown as it stands: Qt takes the
    // last brackets for the patterns, and a person reads them once.
    QStringList filters;
    QStringList parts = Q(r.Filter).split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = "(" + QString(parts[i + 1]).replace(';', ' ') + ")";
        filters << (parts[i].endsWith(patterns) ? parts[i] : parts[i] + " " + patterns);
    }
    // The dialog opens in its initial folder when that exists, else in the current folder; the
    // folder's name never lands in the file-name box.
    QFileDialog dlg(nullptr, Q(r.Title));
    const QString initialDir = QDir::current().absoluteFilePath(Q(r.InitialDir));
    dlg.setDirectory(QFileInfo(initialDir).isDir() ? initialDir : QDir::currentPath());
    ComeUpOnTop(&dlg);
    dlg.setAcceptMode(r.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(std::max(0, r.FilterIndex - 1)));
    }
    dlg.setDefaultSuffix(Q(r.DefaultExt));
    if (!r.OverwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!r.FileName.empty()) dlg.selectFile(Q(r.FileName));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    if (const int picked = int(filters.indexOf(dlg.selectedNameFilter())); picked >= 0) r.FilterIndex = picked + 1;
    return dlg.selectedFiles().first().toStdString();
}

void QtBackend::RunModal(TForm* form)
{
    EndMouseHold();
    while (!Application->Terminated()) {
        if (form->ModalResult() != mrNone && form->TryEndModal()) break;
        if (!form->Visible()) { // hidden by code: the window is gone, so is the dialog
            form->SetModalResult(mrCancel);
            break;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void QtBackend::Sleep(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint64_t QtBackend::NowMs()
{
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count()) -
           FStart;
}

void QtBackend::TimerChanged(TTimer* t)
{
    auto it = FTimers.find(t);
    const auto& alive = Application->Timers();
    if (std::find(alive.begin(), alive.end(), t) == alive.end()) {
        if (it != FTimers.end()) {
            delete it->second;
            FTimers.erase(it);
        }
        return;
    }
    QTimer* q;
    if (it == FTimers.end()) {
        q = new QTimer(FWaker.get());
        q->setTimerType(Qt::PreciseTimer);
        QObject::connect(q, &QTimer::timeout, [t] { Application->Dispatch([t] { t->Tick(); }); });
        FTimers[t] = q;
    } else {
        q = it->second;
    }
    if (t->Enabled() && t->Interval() > 0)
        q->start(int(t->Interval())); // (re)starts the count
    else
        q->stop();
}

void QtBackend::WakeUp()
{
    const uint64_t one = 1;
    // A full counter (never, in practice) already means "wake up".
    [[maybe_unused]] ssize_t written = write(FWakeFd, &one, sizeof one);
}

void QtBackend::FormShown(TForm* form)
{
    bool first = !form->View;
    ShowForm(form);
    QWidget* w = WindowFor(form);
    if (!w) return;
    w->setWindowModality(form->Modal() ? Qt::ApplicationModal : Qt::NonModal);
    if (form->Modal() && !(w->windowFlags() & Qt::WindowStaysOnTopHint))
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    w->adjustSize();
    if (first) {
        QRect area = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                      : QRect(0, 0, 1024, 768);
        QWidget* main =
            Application->MainForm() && Application->MainForm() != form ? WindowFor(Application->MainForm()) : nullptr;
        if ((form->Position == poMainFormCenter || form->Position == poOwnerFormCenter) && main && main->isVisible())
            area = main->frameGeometry();
        if (form->Position != poDesigned && form->Position != poDefault)
            w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
        else
            w->move(form->Left(), form->Top());
    }
    w->show();
    if (QGuiApplication::platformName() != "offscreen") w->raise();
    w->activateWindow();
}

void QtBackend::FormHidden(TForm* form)
{
    if (QWidget* w = WindowFor(form)) {
        w->hide();
        w->setWindowModality(Qt::NonModal);
    }
}

void QtBackend::Run()
{
    if (!Application->Terminated()) QApplication::exec();
}

int QtBackend::Exec()
{
    Application->Run();
    return 0;
}

void QtBackend::Terminate() { QCoreApplication::quit(); }

// quit() does nothing before the main loop runs (a box of the start-up) and may be refused by a
// window; exit() ends every loop, and one started after it returns at once.
void QtBackend::EndLoops() { QCoreApplication::exit(0); }

void QtBackend::ProcessMessages()
{
    QCoreApplication::processEvents();
    Application->ProcessPosted();
}

void QtBackend::AdvanceMs(uint64_t ms)
{
    QEventLoop loop;
    QTimer::singleShot(int(ms), &loop, &QEventLoop::quit);
    loop.exec();
    Application->ProcessPosted();
}

std::string QtBackend::ClipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }

void QtBackend::SetClipboardText(const std::string& s) { QGuiApplication::clipboard()->setText(Q(s)); }
