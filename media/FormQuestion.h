#pragma once

#include "core/CommandForm.h"
#include "core/Status.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm::media {

// The question that tells old encoders from today's: options of the classic command that today's
// encoders no longer know, and -version. One that knows them prints its version; one that does not
// names the unknown option.
const std::vector<std::string>& ClassicQuestion();
EncoderAnswer ReadClassicReply(int exitCode, std::string_view output);

// Whether the encoder's words name an option it does not know: how today's encoders turn down the
// classic options.
bool NamesUnknownOption(std::string_view output);

// The question whether the encoder can write the later targets' H.264 files: help on libx264 with
// -fpsmax before it. One too old for -fpsmax names it as unknown; one without libx264 says so.
const std::vector<std::string>& H264Question();
H264Answer ReadH264Reply(int exitCode, std::string_view output);
// Kept as the form's answers are, in a file of their own; an Unknown answer is not kept.
std::optional<H264Answer> RememberedH264(const std::string& program);
Status RememberH264(const std::string& program, H264Answer answer);

// Answers kept between runs, per program file and modification time, in the user's cache folder
// ($XDG_CACHE_HOME, else ~/.cache), so each build is asked once. The file is rewritten whole and
// atomically; an Unknown answer is not kept.
std::optional<EncoderAnswer> RememberedAnswer(const std::string& program);
Status RememberAnswer(const std::string& program, EncoderAnswer answer);

// The remembered answer, or asks now and waits, at most the time limit: for the command-line tool,
// which has nothing else to do meanwhile. A definite answer is remembered.
EncoderAnswer AskClassicOptions(const std::string& program, int timeoutMilliseconds = 5000);

} // namespace zvm::media
