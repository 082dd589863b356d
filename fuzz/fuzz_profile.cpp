// Reads an EffectsProfile from arbitrary JSON text. Besides the sanitizers it checks that every
// value read lies within the range its editor offers, that every curve read is one the curve
// editor could have drawn (ends at its range's ends, inputs rising by the editor's step), and
// that what a profile writes reads back to the same JSON, in memory and through the text form.
#include "effectsprofile.h"
#include "effectvalueranges.h"

#include <QByteArray>
#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QJsonDocument document = QJsonDocument::fromJson(text);

    EffectsProfile profile;
    profile.fromJson(document.object());
    const QStringList outside = EffectValueRanges::valuesOutside(profile.effects);
    if (!outside.isEmpty()) {
        std::fprintf(stderr, "profile value its editor could not have set: %s\n", qPrintable(outside.first()));
        std::abort();
    }
    const QJsonObject written = profile.toJson();

    EffectsProfile again;
    again.fromJson(written);
    if (again.toJson() != written) {
        std::fprintf(stderr, "profile JSON is not stable under a read\n");
        std::abort();
    }

    EffectsProfile fromText;
    fromText.fromJson(QJsonDocument::fromJson(QJsonDocument(written).toJson()).object());
    if (fromText.toJson() != written) {
        std::fprintf(stderr, "profile JSON changes through its text form\n");
        std::abort();
    }
    return 0;
}
