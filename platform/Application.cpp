#include "platform/Application.h"

#include "platform/MessageBox.h"

#include <QEvent>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QWidget>
#include <exception>
#include <stdexcept>

namespace vandora {

namespace {

// Debian's metric-compatible Tahoma (fonts-wine), which fontconfig does not index: the
// regular face and the bold one, so that bold text keeps its designed widths instead of
// being the regular face made heavier.
constexpr const char* kTahomaFile = "/usr/share/wine/fonts/tahoma.ttf";
constexpr const char* kTahomaBoldFile = "/usr/share/wine/fonts/tahomabd.ttf";

std::string ProgramFilePath()
{
    if (QCoreApplication::instance() == nullptr)
        return {};
    QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty() && !QCoreApplication::arguments().isEmpty())
        path = QCoreApplication::arguments().constFirst();
    return path.toStdString();
}

} // namespace

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), title_(TitleFromFileName(ProgramFilePath()))
{
}

TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    bool haveTahoma = QFontDatabase::families().contains(QStringLiteral("Tahoma"));
    if (!haveTahoma && QFile::exists(QString::fromLatin1(kTahomaFile))) {
        haveTahoma = QFontDatabase::addApplicationFont(QString::fromLatin1(kTahomaFile)) >= 0;
        if (haveTahoma && QFile::exists(QString::fromLatin1(kTahomaBoldFile)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(kTahomaBoldFile));
    }
    if (!haveTahoma)
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
}

void TApplication::SetMainForm(QWidget* form)
{
    mainForm_ = form;
}

int TApplication::Run()
{
    if (mainForm_ && !mainForm_->isVisible())
        mainForm_->show();
    return exec(); // 0 unless someone asked for another exit code
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    const bool closingMainForm = event->type() == QEvent::Close && receiver == mainForm_ && mainForm_;
    try {
        const bool result = QApplication::notify(receiver, event);
        if (closingMainForm)
            EndIfMainFormGone();
        return result;
    } catch (...) {
        HandleException();
        if (closingMainForm)
            EndIfMainFormGone();
        return false;
    }
}

void TApplication::EndIfMainFormGone()
{
    // A close request may be refused, and its handler may run a nested event loop (a
    // message box), so the question is asked once the request has been handled whole; and
    // the window is hidden only after its close event returns, so it is asked at the next
    // turn of the loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!mainForm_ || !mainForm_->isVisible())
                exit(0);
        },
        Qt::QueuedConnection);
}

void TApplication::HandleException()
{
    std::string text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "An error of an unknown kind occurred";
    }
    ShowErrorMessage(text);
}

std::string TApplication::TitleFromFileName(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find('.');
    if (dot != std::string::npos)
        name.erase(dot);
    QString title = QString::fromStdString(name);
    if (title.isEmpty())
        return {};
    // The first character (a surrogate pair counts as one) in upper case, so that a program
    // file named "vandora" (the usual lower-case name on this system) is titled "Vandora".
    const qsizetype first = title.at(0).isHighSurrogate() && title.size() > 1 ? 2 : 1;
    return (title.left(first).toUpper() + title.mid(first).toLower()).toStdString();
}

TApplication* Application()
{
    return qobject_cast<TApplication*>(QCoreApplication::instance());
}

std::string ApplicationTitle()
{
    if (TApplication* app = Application())
        return app->Title();
    if (QCoreApplication::instance() == nullptr)
        return {};
    return TApplication::TitleFromFileName(ProgramFilePath());
}

} // namespace vandora
