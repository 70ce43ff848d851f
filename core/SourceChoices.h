#pragma once

#include "core/ConversionRequest.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm {

// One sound stream of a source, as the media worker lists them.
struct AudioStreamFacts {
    std::string language = {}; // the stream's language tag as stored ("eng", "ger", "de"); empty when none
    std::string title = {};
    int channels = 0;
    bool isDefault = false;
    bool operator==(const AudioStreamFacts&) const = default;
};

// Whether two language tags name one language: a language's ISO 639-2 bibliographic and terminology
// codes and its two-letter ISO 639-1 code all match each other ("deu", "ger", "de"), in any case.
bool SameLanguage(std::string_view a, std::string_view b);

// The sound stream the choice takes, counted from 0 among the source's sound streams: by number, or
// the first language of the list that a stream has, else the default stream, else the first; -1 for
// the encoder's own choice (nothing chosen, or a source without sound). A list resolved once keeps
// the number it resolved to.
int ChooseAudioStream(const AudioChoice& choice, const std::vector<AudioStreamFacts>& streams);

// A language list as typed: "eng,deu" (blanks ignored); none when a part is not two or three letters.
std::optional<std::vector<std::string>> ParseLanguages(std::string_view text);

// "auto", "none" or "W:H:X:Y" both ways; the rectangle's sides above 0, its corner not negative.
std::optional<CropChoice> ParseCrop(std::string_view text);
std::string CropText(const CropChoice& crop);

// Stable words: "auto", "on", "off".
std::string_view DeinterlaceWord(DeinterlaceMode mode);
std::optional<DeinterlaceMode> DeinterlaceFromWord(std::string_view word);

// How much of the target the picture fills, from 0 to 1.
double ScreenShare(int newWidth, int newHeight, int targetWidth, int targetHeight);

} // namespace zvm
