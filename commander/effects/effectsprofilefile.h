#pragma once

#include <QtGlobal>

class EffectsProfile;
class QString;

// Far above any real profile (tens of KiB with many effects active); a larger file is
// not read, so a huge or endless file cannot exhaust the memory.
constexpr qint64 maxEffectsProfileFileSize = 16 * 1024 * 1024;

// Writes the profile as indented JSON. The file is replaced atomically: on failure the previous
// file is byte-identical (or still absent), false is returned with a warning, and error (when
// given) receives the reason.
bool writeEffectsProfileFile(const QString& path, const EffectsProfile& profile, QString* error = nullptr);

// Reads a profile file into `profile`. A file that cannot be read or holds no JSON object gives
// the defaults and false; so does anything but a regular file (a device or a pipe could block or
// never end) and a file larger than maxEffectsProfileFileSize.
bool readEffectsProfileFile(const QString& path, EffectsProfile& profile);
