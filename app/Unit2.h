#pragma once
// The quiz window: created from its persisted description (the map, the labels, the
// button), it forwards its handlers to the quiz game.
#include "platform/Form.h"

#include <QByteArray>
#include <QImage>
#include <memory>

namespace vandora {

class TButton;
class THotSpot;
class TLabel;
class TMorvane;
class TQuizGame;

class TForm2 : public TForm {
    Q_OBJECT
public:
    // Reads the window from the given persisted form (binary or text), then runs FormCreate.
    explicit TForm2(const QByteArray& form, QWidget* parent = nullptr);
    // Reads the window from the description built into the program.
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    const char* ClassName() const override { return "TForm2"; }

    // The controls, bound by name when the form is read; owned by the form.
    TMorvane* Morvane1 = nullptr;
    TButton* Button2 = nullptr;
    TLabel* lblQuestion = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* lblScore = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label3 = nullptr;

    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void Button2Click(TObject* sender);
    void Morvane1HotSpotClick(TObject* sender, THotSpot* hotSpot);
    void Label3Click(TObject* sender);

    TQuizGame& Game() { return *game_; }

    // The web page the link label opens.
    static constexpr const char* kMakerAddress = "https://vandora.example.org/";

private:
    void ShowQuestion(const std::string& text);
    void ShowScore(const std::string& text);

    std::unique_ptr<TQuizGame> game_;
};

// The quiz window's description built into the program (binary form).
QByteArray EmbeddedForm2();
// The application icon MAINICON, 32 x 32, built into the program as raw pixels.
QImage MainIcon();
// Makes TForm2 and every class its form holds known to the property stream.
void RegisterForm2Classes();

} // namespace vandora
