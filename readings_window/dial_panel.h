#pragma once

#include <QWidget>

#include <optional>

#include "dial/dial_layout.h"

class CopyableFields;
class PictureWidget;
class QLabel;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class TemplateBox;

// The dial a decided wall carries: how well it will read, its style and substyle, the angle of
// every whole- and half-hour line the sun reaches, and a drawing of its face. While the wall is
// not decided it says that the dial waits for one.
class DialPanel : public QWidget {
    Q_OBJECT

  public:
    explicit DialPanel(QWidget* parent = nullptr);

    // The dial to show, or none with the reason in `waiting`.
    void showDial(const std::optional<kestramo::dial::DialLayout>& layout, const QString& waiting);

    QLabel* howGoodLabel;  // how many minutes the dial may be off; or why there is no dial
    CopyableFields* quantities;
    QLabel* anglesLabel;    // how the angles are measured
    QTabWidget* dialPages;  // the hour lines' table, and the template
    QTableWidget* hourLinesTable;
    TemplateBox* templateBox;  // the full-size template, its options, saving and printing
    QStackedWidget* pictures;  // the dial's face beside the hour lines, the template's preview
    PictureWidget* dialFace;
};
