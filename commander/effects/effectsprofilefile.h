#pragma once

class EffectsProfile;
class QString;

// Writes the profile as indented JSON. The file is replaced atomically: on failure the previous
// file is byte-identical (or still absent), false is returned with a warning, and error (when
// given) receives the reason.
bool writeEffectsProfileFile(const QString& path, const EffectsProfile& profile, QString* error = nullptr);

// Reads a profile file into `profile`. A file that cannot be read or holds no JSON object
// gives the defaults and false.
bool readEffectsProfileFile(const QString& path, EffectsProfile& profile);
