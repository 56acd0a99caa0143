#pragma once
// The modal message box: caption = the application title, the text, no icon, one "OK".
//
// Seam: everything goes through an IMessageBoxService. The default one shows a real modal
// QMessageBox; a test installs a double with SetMessageBoxService so that no box blocks.
#include <memory>
#include <string>

class QMessageBox;
class QWidget;

namespace vandora {

class IMessageBoxService {
public:
    virtual ~IMessageBoxService() = default;
    // A message of the program: returns when the player closed the box.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // An error that escaped an event handler.
    virtual void ShowErrorMessage(const std::string& caption, const std::string& text) = 0;
};

// The service in use.
IMessageBoxService& MessageBoxService();
// Installs a service (not owned; it must outlive its use) and returns the one it replaces.
// Null puts the default back.
IMessageBoxService* SetMessageBoxService(IMessageBoxService* service);

// Shows the text in a modal box captioned with the application title; a line feed (alone
// or after a carriage return) starts a new line. The result is not looked at.
void ShowMessage(const std::string& text);
// The error box: the application title as caption, the error's text.
void ShowErrorMessage(const std::string& text);

// The boxes the default service shows, built but not shown (for inspection): the text's
// CR LF pairs turned into line feeds, one "OK" button, no icon (the error box: the
// critical icon), modal to the application.
std::unique_ptr<QMessageBox> CreateMessageBox(const std::string& caption, const std::string& text,
                                              bool error = false);
// Moves a top-level widget so that it is centred on the screen it is on (the primary one).
void CenterOnScreen(QWidget& window);

} // namespace vandora
