#pragma once

#include <QString>

// Where the readings of a session are kept against a crash, and those of the session before
// until the user has been offered them. Both live in the user's data location.
namespace recovery_file {

// The file this session's readings are written to after every change.
QString CurrentPath();
// The readings of an earlier session, kept aside until the readings window has offered them.
QString PreviousPath();
// Moves an earlier session's recovery file aside, before this session first writes its own;
// creates the folder. A file already set aside and not yet offered is replaced.
void SetAsideEarlierSession();

}  // namespace recovery_file
