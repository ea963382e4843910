#include "ui/qt/QtViews.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

namespace {

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
    }
    QWidget* Container() const override { return Client; }
    void Sync() override
    {
        auto* f = static_cast<TForm*>(Component);
        Widget->setWindowTitle(Q(f->Caption()));
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
        Client->update();
    }

private:
    QVBoxLayout* Layout;
    QWidget* Client;
    QPointer<QMenuBar> Bar;
    TMainMenu* ShownMenu = nullptr;
};

} // namespace

QtView* MakeFormView(QtBackend& b, TForm* f) { return new FormView(b, f); }
