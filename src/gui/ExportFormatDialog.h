#pragma once
// "Export Format": the modal dialog in which the user chooses the shape of exported
// files. It is created once and shown again for every export, so its controls keep
// the user's last choices (also those made before a Cancel) until the program ends.

#include "export/ExportFormat.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QLineEdit;

namespace Ui {
class TfrmWriteMarket;
}

namespace tickforge {

class TfrmWriteMarket : public QDialog {
    Q_OBJECT

public:
    explicit TfrmWriteMarket(QWidget* parent = nullptr);
    ~TfrmWriteMarket() override;

    // Shows the dialog modally; true when it was closed with OK.
    bool Execute();

    // The choices as the controls hold them now.
    ExportFormat ReadExportFormat() const;

public slots:
    // Rebuilds the example line; serves all seven column check boxes.
    void cbClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmWriteMarket> ui;
    // Per export column, in its table's order: the box that includes it and its heading.
    std::array<QCheckBox*, ExportColumnCount> columnBoxes_{};
    std::array<QLineEdit*, ExportColumnCount> headingEdits_{};
};

}  // namespace tickforge
