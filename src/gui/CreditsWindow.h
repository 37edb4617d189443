#pragma once
// "Beta Testers": the small credits window that the splash window's "ß" button shows
// modally. Its picture is drawn from the top-left corner without scaling, so the
// panel cuts off its lowest rows.

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmBetaTesters;
}

namespace tickforge {

class TfrmBetaTesters : public QDialog {
    Q_OBJECT

public:
    explicit TfrmBetaTesters(QWidget* parent = nullptr);
    ~TfrmBetaTesters() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmBetaTesters> ui;
};

}  // namespace tickforge
