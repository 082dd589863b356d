#pragma once

class EffectsProfile;
class QString;

// Writes the profile as indented JSON. The file is replaced atomically, so a failed write leaves
// the previous file whole; returns false (with a warning) on failure.
bool writeEffectsProfileFile(const QString& path, const EffectsProfile& profile);

// Reads a profile file into `profile`. A file that cannot be read or holds no JSON object
// gives the defaults and false.
bool readEffectsProfileFile(const QString& path, EffectsProfile& profile);
