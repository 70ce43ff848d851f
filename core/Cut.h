#pragma once

#include "core/ConversionRequest.h"
#include "core/Status.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zvm {

// A cut keeps the part of the source from its start to its end, both in seconds of the source and
// each optional. Times are held to the millisecond: what a user types and what the command says.

// "90", "12.5", "2:05", "1:02:03.250": seconds, or [[H:]MM:]SS[.mmm]. Blanks around it are allowed;
// a sign, an exponent, a decimal comma and 60 or more minutes or seconds after a colon are not
// (minutes may run past 59 when no hours are given: "90:00" is an hour and a half).
Result<double> ParseCutTime(std::string_view text);

// A time as the command writes it: seconds with a point, to the millisecond, without trailing
// zeros ("5.5", "90", "3723.25"), whatever the locale.
std::string CutSecondsText(double seconds);
// A time as a person reads it and ParseCutTime takes it back: "0:05.5", "2:05", "1:02:03.25".
std::string CutClockText(double seconds);

bool HasCut(const ConversionRequest& request);

// Whether seconds are a number a cut or a duration can be (finite, and within ten thousand hours
// either way), so one read from a stored file that no run can use is found before any arithmetic.
bool UsableSeconds(double seconds);

// Refuses a negative time, an end not after the start (a cut without one starts at 0, so an end of 0
// is refused too) and, when the source's duration is known, a
// start at or past its end. An end past the source's end is no fault: the cut then keeps the rest
// of the video, as one who asks for "up to 10:00" of a shorter video expects.
Status CheckCut(const ConversionRequest& request, std::optional<double> sourceDuration);

// How long the kept part is: the whole source without a cut; nothing when that depends on a duration
// that is not known.
std::optional<double> KeptSeconds(std::optional<double> cutStart, std::optional<double> cutEnd,
                                  std::optional<double> sourceDuration);
// The seconds of the kept part one progress counts done when step `step` (from 0) of `steps` passes
// over it has encoded `encoded` seconds: each pass an equal share, so the bar runs once over them all.
double EncodedOverPasses(double encoded, std::size_t step, std::size_t steps, double kept);
// Whether the kept part's length is the cut's own (its end lies within the source), so a file can be
// held to it within a frame or two rather than to a source's less exact duration.
bool ExactCut(std::optional<double> cutEnd, std::optional<double> sourceDuration);
// How far a cut's file may stray from the kept length: two frames at its rate (the frames at each
// end that straddle a cut point are kept whole) and 0.15 s for the audio encoder's last frame.
double CutTolerance(double frameRate);

// The options that seek the input to the cut, placed before "-i": "-ss 5.5 -t 7.25 ", or empty
// without a cut. Input seeking decodes from the keyframe before the start and drops what comes
// before it, so the first frame is the one at the start, and video and sound start together.
std::string CutOptions(const ConversionRequest& request);

} // namespace zvm
