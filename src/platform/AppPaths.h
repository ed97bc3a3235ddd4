#pragma once
// Where the program keeps its files.
//
// The program directory is the directory of the running executable. POSTCSV.INI lives
// there when that directory can be written; an installed copy (<prefix>/bin beside
// <prefix>/share/tovalin/), or a copy whose directory cannot be written, keeps it in
// $XDG_CONFIG_HOME/Tovalin/ (~/.config/Tovalin/) instead. Tests and
// the batch printer (tovalin-print --settings DIR) name the settings directory
// themselves. Every directory is returned with a trailing '/'.

#include <QString>

namespace AppPaths {

// The executable's directory, or the directory handed to setProgramDirectory().
QString programDirectory();
// Empty restores the executable's directory.
void setProgramDirectory(const QString& dir);

// True when the program directory is the bin folder of an installed Tovalin: its
// ../share/tovalin/ exists.
bool isInstalledCopy();

// The directory of POSTCSV.INI: the override when one is set, else the program
// directory when it is writable and not an installed copy's, else the user's configuration
// directory (created on demand; a POSTCSV.INI left in the program directory is copied there
// the first time).
QString settingsDirectory();
// Empty removes the override.
void setSettingsDirectory(const QString& dir);

// settingsDirectory() + "POSTCSV.INI".
QString settingsFilePath();

// $XDG_CONFIG_HOME/Tovalin/ (or ~/.config/Tovalin/ when the variable is unset or not absolute).
QString userConfigDirectory();

// Adds a trailing '/' when missing.
QString withTrailingSeparator(const QString& dir);

} // namespace AppPaths
