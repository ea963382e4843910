#include "ui/qt/QtViews.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The shortest time between two titles a window draws: one frame at 60 Hz.
constexpr int TitleFrameMs = 16;

// ---- forms ----------------------------------------------------------------------------------

class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm* f) : Form(f) {}
    TForm* Form;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        // Qt closes every window itself when the program ends; the form has closed by then and
        // must not be asked again.
        if (Application->Terminated()) {
            e->accept();
            return;
        }
        // The form decides: OnCloseQuery, OnClose, hiding or ending the program.
        e->ignore();
        Form->UserCloses();
    }
};

class FormView : public QtView {
public:
    FormView(QtBackend& b, TForm* f) : QtView(b, f)
    {
        Qt::WindowFlags flags = f->BorderStyle == bsDialog ? Qt::Dialog : Qt::Window;
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (f->BorderIcons & biSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((f->BorderIcons & biMinimize) && f->BorderStyle != bsDialog) flags |= Qt::WindowMinimizeButtonHint;
        bool sizeable = f->BorderStyle == bsSizeable || f->BorderStyle == bsSizeToolWin;
        if ((f->BorderIcons & biMaximize) && sizeable) flags |= Qt::WindowMaximizeButtonHint;
        if (f->FormStyle == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
        auto* window = new FormWindow(f);
        window->setWindowFlags(flags);
        Layout = new QVBoxLayout(window);
        Layout->setContentsMargins(0, 0, 0, 0);
        Layout->setSpacing(0);
        auto* client = new BitmapWidget(window);
        client->setProperty(kMouseProperty, true);
        client->setMouseTracking(true);
        client->setFocusPolicy(Qt::StrongFocus); // holds the focus when no control does
        client->PaintWith = [this, f](QPainter& p) {
            // A form that draws nothing of its own shows only its colour under the controls: no
            // canvas to fill and convert each time a control over it repaints.
            if (!f->OnPaint) {
                p.fillRect(p.clipBoundingRect().isEmpty() ? QRectF(Client->rect()) : p.clipBoundingRect(),
                           ToQColor(f->Color));
                return;
            }
            FSyncing = true;
            Application->Dispatch([f] { f->Repaint(); });
            FSyncing = false;
            p.drawImage(0, 0, ToQImage(f->CanvasBitmap()));
        };
        Client = client;
        Layout->addWidget(Client);
        if (!sizeable) Layout->setSizeConstraint(QLayout::SetFixedSize);
        Widget = window;
        PaintedColor = f->Color;
        TitleFrame.setSingleShot(true);
        TitleFrame.setTimerType(Qt::PreciseTimer);
        TitleFrame.setInterval(TitleFrameMs);
        QObject::connect(&TitleFrame, &QTimer::timeout, [this] { DrawTitle(); });
    }
    QWidget* Container() const override { return Client; }
    void Sync() override
    {
        auto* f = static_cast<TForm*>(Component);
        DrawTitle();
        Client->setFixedSize(f->ClientWidth(), f->ClientHeight());
        Widget->setEnabled(f->Enabled());
        Widget->setFont(ToQFont(f->Font));
        if (f->Menu() != ShownMenu) {
            delete Bar;
            Bar = nullptr;
            ShownMenu = f->Menu();
            if (ShownMenu) {
                Bar = new QMenuBar(Widget);
                Layout->setMenuBar(Bar);
                Build(ShownMenu->Items(), Bar);
            }
        }
        // The client shows the form's canvas, or only its colour under the controls: it is drawn
        // again when that may have changed, not for every change of the form. Redrawing it
        // redraws every control on it, and the caption changes with each MIDI message received.
        if (f->OnPaint || f->Color != PaintedColor) {
            PaintedColor = f->Color;
            Client->update();
        }
    }

private:
    // The title follows the caption at most once a frame: a new caption after a quiet spell is
    // drawn at once, those that come within the frame after it are drawn when the frame ends,
    // the newest one then. The window system draws each title again.
    void DrawTitle()
    {
        if (!Widget || TitleFrame.isActive()) return;
        const QString title = Q(static_cast<TForm*>(Component)->Caption());
        if (title == Widget->windowTitle()) return;
        Widget->setWindowTitle(title);
        TitleFrame.start();
    }

    QVBoxLayout* Layout;
    QWidget* Client;
    QPointer<QMenuBar> Bar;
    TMainMenu* ShownMenu = nullptr;
    TColor PaintedColor;
    QTimer TitleFrame;
};

} // namespace

QtView* MakeFormView(QtBackend& b, TForm* f) { return new FormView(b, f); }
