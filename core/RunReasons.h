#pragma once

#include "core/Text.h"

// Why a video is not converted, in the words every face uses: the window, the queue and the tool take
// them from here, and a window shows them in the user's language (see Text.h). A "%1" stands for the
// detail.
namespace zvm {

// Before anything starts.
inline constexpr const char* kNoMovieType = ZVM_TEXT("zvm", "Choose Live Action or Animation for this target");
inline constexpr const char* kOutputIsSource = ZVM_TEXT("zvm", "The output file is the source video");
inline constexpr const char* kOutputIsSubtitleFile =
    ZVM_TEXT("zvm", "The output file is the subtitle file the video is drawn with");
inline constexpr const char* kOutputIsEncoder = ZVM_TEXT("zvm", "The output file is the encoder program");
inline constexpr const char* kOutputIsOtherSource =
    ZVM_TEXT("zvm", "The output file is the source of another video of the queue");
inline constexpr const char* kSourceMissing = ZVM_TEXT("zvm", "The source video is not there any more: %1");
inline constexpr const char* kSharedOutput =
    ZVM_TEXT("zvm", "Another video of the queue is written to the same output file");
inline constexpr const char* kSubtitleMissing = ZVM_TEXT("zvm", "The subtitle file is not there: %1");
inline constexpr const char* kNoSuchAudioStream = ZVM_TEXT("zvm", "The video has no sound stream %1 (counted from 0)");
inline constexpr const char* kNoSize = ZVM_TEXT("zvm", "The size could not be detected: %1");

// What a command does beyond what was asked.
inline constexpr const char* kSilentTrack =
    ZVM_TEXT("zvm", "The source has no sound: the command adds a silent track, as this target's file needs one");
inline constexpr const char* kFilmRateKept =
    ZVM_TEXT("zvm", "The source is film: the command keeps its frame rate, which this target's player takes");

// How an encoder's run ended.
inline constexpr const char* kEndedBySignal = ZVM_TEXT("zvm", "the encoder was ended by a signal");
inline constexpr const char* kExitCode = ZVM_TEXT("zvm", "the encoder ended with exit code %1");
inline constexpr const char* kEndedBySignalRemoved =
    ZVM_TEXT("zvm", "the encoder was ended by a signal; its partial output was removed");
inline constexpr const char* kExitCodeRemoved =
    ZVM_TEXT("zvm", "the encoder ended with exit code %1; its partial output was removed");
inline constexpr const char* kNotStarted = ZVM_TEXT("zvm", "the encoder could not be started: %1");
inline constexpr const char* kStoppedOnRequest = ZVM_TEXT("zvm", "stopped on request; its partial output was removed");
inline constexpr const char* kStoppedNothingWritten = ZVM_TEXT("zvm", "stopped on request");
inline constexpr const char* kOutputExists = ZVM_TEXT("zvm", "its output exists already");

} // namespace zvm
