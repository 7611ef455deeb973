#pragma once

namespace ovra {

// Qt's own colour and file dialogs keep their custom colours, recent folders and
// view state in a "QtProject.conf" of the user's config folder, written when a
// dialog goes away. The clock keeps nothing outside its store, so before any such
// dialog opens, Qt's user-scope settings are sent to a place that can never be
// created: they read as empty and every write fails quietly.
void keepToolkitSettingsOutOfTheUserFolder();

} // namespace ovra
