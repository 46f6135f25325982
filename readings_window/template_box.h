#pragma once

#include <QWidget>

#include <optional>

#include "dial/dial_template.h"
#include "dial_files/template_drawing.h"
#include "dial_files/template_file.h"

class PictureWidget;
class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

// The Dial tab's full-size template: what it shows (the time its lines read, the date lines, the
// minutes between lines, the nodus's height, the plate), a preview drawn from the same lines as
// the files, and the buttons that save and print it. Disabled while the wall is not decided.
class TemplateBox : public QWidget {
    Q_OBJECT

  public:
    explicit TemplateBox(QWidget* parent = nullptr);

    // The site and the wall the template is for; none while the wall is not decided.
    void setInputs(const std::optional<dial_files::TemplateInputs>& inputs);

    // The template as the controls ask for it, drawn; none without a decided wall. Drawn when
    // first asked for, or when the box is in sight, so that a Calculate with the Dial tab out of
    // sight costs nothing more.
    const std::optional<dial_files::TemplateDrawing>& drawing();

    QComboBox* hoursBox;
    QComboBox* dateLinesBox;
    QComboBox* minutesBox;
    QSpinBox* nodusBox;
    QSpinBox* plateWidthBox;
    QSpinBox* plateHeightBox;
    QSpinBox* rootXBox;
    QSpinBox* rootYBox;
    QCheckBox* summerTimeBox;
    PictureWidget* preview;  // not in the box's layout: its holder places it
    QPushButton* cmdSaveTemplate;
    QPushButton* cmdPrintTemplate;

  signals:
    void saveAsked();
    void printAsked();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void changed();
    void redraw();

    std::optional<dial_files::TemplateInputs> inputs_;
    std::optional<dial_files::TemplateDrawing> drawing_;
    bool stale_ = true;
};
