#pragma once
// The splash window: shown while the program starts and, later, as the modal about
// box. Two invisible click areas over the picture open the maker's mail and web
// addresses; the "ß" button shows the credits.

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmSplash;
}

namespace tickforge {

class TfrmBetaTesters;

inline constexpr const char* MakerMailAddress = "tickforge@example.org";
inline constexpr const char* MakerWebAddress = "https://tickforge.example.org/";

class TfrmSplash : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

    // The credits window that "ß" shows; the windows are created one after another.
    void SetCreditsWindow(TfrmBetaTesters* credits) { credits_ = credits; }

    // The about box: the same window, modal, until OK is pressed.
    void ShowAbout();

public slots:
    void sbtnOKClick();
    void Button1Click();
    void lblEmailClick();
    void lblWWWClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmSplash> ui;
    TfrmBetaTesters* credits_ = nullptr;
};

}  // namespace tickforge
