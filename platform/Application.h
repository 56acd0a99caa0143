#pragma once
// The application object: the program's QApplication with the framework's duties.
//
//   int main(int argc, char** argv)
//   {
//       vandora::TApplication app(argc, argv);
//       app.Initialize();
//       ... create the main window from its persisted description, app.SetMainForm(window) ...
//       return app.Run();
//   }
//
// An exception that escapes any event handler (a std::exception, and so every framework
// error, or anything else) is caught in notify(), shown in the error box captioned with the
// title (ShowErrorMessage, through the message-box seam), and event handling goes on.
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <string>


namespace vandora {

class TApplication : public QApplication {
    Q_OBJECT
public:
    // argc must stay alive as long as the application (QApplication keeps a reference).
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    // Prepares the application: makes the window font "Tahoma" available (Debian's
    // metric-compatible copy from fonts-wine when present, else DejaVu Sans stands in).
    void Initialize();

    // The title: by default made from the program file's name (TitleFromFileName).
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // The main window shows on the task bar with its own caption (Qt does so for every
    // top-level window; the flag is kept for the persisted program's sake).
    bool MainFormOnTaskbar() const { return mainFormOnTaskbar_; }
    void SetMainFormOnTaskbar(bool value) { mainFormOnTaskbar_ = value; }

    // The main window: closing it ends Run(). Not owned.
    QWidget* MainForm() const { return mainForm_; }
    void SetMainForm(QWidget* form);

    // Shows the main window (when there is one and it is hidden) and handles events until
    // the main window is closed (or the last window, when there is no main window) or
    // Terminate() is called. Returns the exit code: 0.
    int Run();
    // Makes Run() return once the current event is handled, whatever windows are open (a
    // quit() could be refused by a window that will not close).
    void Terminate() { exit(0); }

    // Delivers every event; catches what escapes the handler (see above) and returns false
    // for that event then.
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the exception being handled (call inside a catch block) in the error box:
    // caption = the application title, text = the exception's message. Also usable without
    // a TApplication (tests, tools), with the title made from the program file's name.
    static void HandleException();

    // The title rule: the folder part dropped (everything up to the last '\' or '/'), the
    // name cut at its first full stop, every character after the first in lower case and
    // the first in upper case. "C:\Games\VANDORA.EXE" -> "Vandora", "/usr/bin/vandora" ->
    // "Vandora", "my.quiz.exe" -> "My".
    static std::string TitleFromFileName(const std::string& path);

private:
    void EndIfMainFormGone();

    std::string title_;
    bool mainFormOnTaskbar_ = false;
    QPointer<QWidget> mainForm_;
};

// The running application object; null when the process's QApplication is not one.
TApplication* Application();
// The application's title: TApplication::Title(), or, under another QApplication, the title
// made from the program file's name; empty without any application.
std::string ApplicationTitle();

} // namespace vandora
