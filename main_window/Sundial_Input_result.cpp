// Calculate: the checked inputs go through the engine, and the outcome is worded in lblResult.

#include <QLabel>

#include "engine/wall_solution.h"
#include "main_window/Sundial_Input.h"
#include "text/result_caption.h"

void Sundial_Input::ShowEot() {
    // Only a measurement that validation has passed is solved.
    if (!checked_) return;
    const alignment_calculations::WallSolution solution =
        alignment_calculations::SolveShadowMeasurement(checked_->height, checked_->length);
    resultCaption_ = result_caption::Caption(solution, checked_->date);
    lblResult->setText(resultCaption_);
}
