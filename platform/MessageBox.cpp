#include "platform/MessageBox.h"

#include <QEvent>

#include "platform/Application.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace vandora {

namespace {

QString MessageText(const std::string& text)
{
    QString result = QString::fromStdString(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

// Keeps a box centred while it settles on its size: the text's layout may still grow it
// after it is first shown.
class TCentreOnResize final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            if (auto* widget = qobject_cast<QWidget*>(watched))
                CenterOnScreen(*widget);
        return false;
    }
};

// A key held down from before the box opened (the Enter that answered, say) must not
// close the box unread: only a fresh press of Enter does.
class TIgnoreHeldEnter final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        return key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    }
};

class TDefaultMessageBoxService final : public IMessageBoxService {
public:
    void ShowMessage(const std::string& caption, const std::string& text) override { Show(caption, text, false); }
    void ShowErrorMessage(const std::string& caption, const std::string& text) override
    {
        Show(caption, text, true);
    }

private:
    static void Show(const std::string& caption, const std::string& text, bool error)
    {
        const auto box = CreateMessageBox(caption, text, error);
        TCentreOnResize centre;
        box->installEventFilter(&centre);
        // A message box takes its final size when it is shown: centre it after that, in
        // the same event-loop turn, before it is first drawn.
        box->show();
        CenterOnScreen(*box);
        box->exec();
    }
};

TDefaultMessageBoxService& DefaultService()
{
    static TDefaultMessageBoxService service;
    return service;
}

IMessageBoxService* g_service = nullptr;

} // namespace

IMessageBoxService& MessageBoxService()
{
    return g_service ? *g_service : DefaultService();
}

IMessageBoxService* SetMessageBoxService(IMessageBoxService* service)
{
    IMessageBoxService* previous = g_service;
    g_service = service;
    return previous;
}

void ShowMessage(const std::string& text)
{
    MessageBoxService().ShowMessage(ApplicationTitle(), text);
}

void ShowErrorMessage(const std::string& text)
{
    MessageBoxService().ShowErrorMessage(ApplicationTitle(), text);
}

std::unique_ptr<QMessageBox> CreateMessageBox(const std::string& caption, const std::string& text, bool error)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(QString::fromStdString(caption));
    box->setText(MessageText(text));
    box->setTextFormat(Qt::PlainText);
    box->setIcon(error ? QMessageBox::Critical : QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->setText(QStringLiteral("OK"));
    box->setWindowModality(Qt::ApplicationModal);
    auto* heldEnter = new TIgnoreHeldEnter(box.get());
    box->installEventFilter(heldEnter);
    for (QAbstractButton* button : box->buttons())
        button->installEventFilter(heldEnter);
    return box;
}

void CenterOnScreen(QWidget& window)
{
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

} // namespace vandora
