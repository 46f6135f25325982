// The readings of this session: every calculation that passes validation is kept, and the
// readings window combines them into one declination. Both are made on first use, and so is
// the session's recovery file, so that start-up stays as lean as before.

#include <QScreen>

#include <algorithm>

#include "main_window/Sundial_Input.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_window.h"
#include "readings_window/recovery_file.h"

void Sundial_Input::placeBeside(QWidget* other) const {
    // To the right of this window where the screen has room, else to its left; failing both,
    // against the screen's edge on the roomier side, so that it covers as little as it can.
    const QScreen* display = screen();
    if (display == nullptr) return;
    const QRect room = display->availableGeometry();
    const QRect here = frameGeometry();
    constexpr int kGap = 8;  // pixels between the windows
    const int top =
        std::clamp(here.top(), room.top(), std::max(room.top(), room.bottom() - other->height()));
    const int rightRoom = room.right() - here.right();
    const int leftRoom = here.left() - room.left();
    if (rightRoom >= kGap + other->width()) {
        other->move(here.right() + kGap, top);
    } else if (leftRoom >= kGap + other->width()) {
        other->move(here.left() - kGap - other->width(), top);
    } else if (rightRoom >= leftRoom) {
        other->move(std::max(room.left(), room.right() - other->width()), top);
    } else {
        other->move(room.left(), top);
    }
}

ReadingsList* Sundial_Input::readingsList() {
    if (readingsList_ == nullptr) {
        readingsList_ = new ReadingsList(this);
        readingsList_->keepRecoveryFileIn(recovery_file::Folder());
    }
    return readingsList_;
}

void Sundial_Input::recordReading() {
    if (!checked_ || !solution_) return;
    readingsList()->add(checked_->reading,
                        kestramo::series::Examine(checked_->reading, *solution_));
}

void Sundial_Input::cmdReadings_Click() {
    const bool first = readingsWindow_ == nullptr;
    if (first) {
        readingsWindow_ = new ReadingsWindow(readingsList(), this);
        placeBeside(readingsWindow_);
    }
    readingsWindow_->show();
    readingsWindow_->raise();
    readingsWindow_->activateWindow();
    if (first) readingsWindow_->offerEarlierSessions();
}
