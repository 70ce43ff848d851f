#include "media/worker/MediaReader.h"

#include "core/Dpg.h"
#include "core/Presets.h"
#include "core/Text.h"
#include "media/worker/StreamHeaders.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace zvm::media {

namespace {
struct FreeFormat {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct FreeCodec {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FreeFrame {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct FreePacket {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FreeGraph {
    void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
struct FreeInOut {
    void operator()(AVFilterInOut* io) const { avfilter_inout_free(&io); }
};
using Format = std::unique_ptr<AVFormatContext, FreeFormat>;
using Codec = std::unique_ptr<AVCodecContext, FreeCodec>;
using Frame = std::unique_ptr<AVFrame, FreeFrame>;
using Packet = std::unique_ptr<AVPacket, FreePacket>;

std::string AvText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

Status Unreadable(int code) {
    return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "the file could not be read: %1"), AvText(code));
}

Status Unrenderable(std::string why) {
    return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "no frame could be rendered: %1"), std::move(why));
}

// Only plain files: a name is never taken for a network address or another protocol ("S01E01:x.mp4").
Result<Format> Open(const std::string& path) {
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* raw = nullptr;
    int rc = avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, &options);
    av_dict_free(&options);
    if (rc < 0) {
        return Unreadable(rc);
    }
    Format format(raw);
    rc = avformat_find_stream_info(format.get(), nullptr);
    if (rc < 0) {
        return Unreadable(rc);
    }
    return format;
}

// Clockwise degrees, 0 to 359, that the picture is turned for display, as the encoder reads them:
// the display matrix, else the older "rotate" tag.
int Rotation(const AVStream* stream) {
    const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    double degrees = 0;
    if (matrix != nullptr) {
        degrees = -av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    } else if (const AVDictionaryEntry* tag = av_dict_get(stream->metadata, "rotate", nullptr, 0)) {
        degrees = std::atof(tag->value);
    }
    if (!std::isfinite(degrees)) {
        return 0;
    }
    return ((static_cast<int>(std::lround(degrees)) % 360) + 360) % 360;
}

// The filters the encoder puts before the command's own to show the picture upright.
std::string Upright(int rotation) {
    switch ((rotation + 45) / 90 % 4) {
    case 1:
        return "transpose=clock,";
    case 2:
        return "hflip,vflip,";
    case 3:
        return "transpose=cclock,";
    default:
        return {};
    }
}

// "num/den", or "num:den" for an aspect; appended piece by piece, as GCC 12's -Wrestrict misreads
// a chain of string additions in an optimised build.
std::string Ratio(AVRational r, char separator = '/') {
    std::string text = std::to_string(r.num);
    if (r.den != 0) {
        text += separator;
        text += std::to_string(r.den);
    }
    return text;
}

// A tag's text without the tabs and line ends that part the audio stream list.
std::string OneLine(const char* text) {
    std::string line = text;
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return line;
}

std::string FieldOrderWord(AVFieldOrder order) {
    switch (order) {
    case AV_FIELD_PROGRESSIVE:
        return "progressive";
    case AV_FIELD_TT:
        return "tt";
    case AV_FIELD_BB:
        return "bb";
    case AV_FIELD_TB:
        return "tb";
    case AV_FIELD_BT:
        return "bt";
    default:
        return "unknown";
    }
}

const AVStream* First(const AVFormatContext* format, AVMediaType type) {
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (format->streams[i]->codecpar->codec_type == type) {
            return format->streams[i];
        }
    }
    return nullptr;
}

// The last graph a picture went through. The preview asks for one frame after another through the
// same filter text, and building the graph parses that text and, for subtitles, the whole subtitle
// file and its fonts, which costs more than the picture. The filters the command uses draw each
// frame from that frame and its time alone, so frames may come in any order, backwards too; a graph
// that holds a frame back or gives more than one is not of that kind and is never kept.
struct KeptGraph {
    std::string key; // the input's shape and time base, then the filter text
    std::unique_ptr<AVFilterGraph, FreeGraph> graph;
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    std::vector<std::pair<std::string, struct stat>> files; // what the filters read when they were made
};

bool Unchanged(const std::vector<std::pair<std::string, struct stat>>& files) {
    return std::all_of(files.begin(), files.end(), [](const auto& file) {
        struct stat now {};
        return stat(file.first.c_str(), &now) == 0 && now.st_size == file.second.st_size &&
               now.st_mtim.tv_sec == file.second.st_mtim.tv_sec &&
               now.st_mtim.tv_nsec == file.second.st_mtim.tv_nsec;
    });
}

// The files a graph's filters took in when made (a subtitle file, or the video for its own subtitle
// stream): a graph is kept only while they stay as they were.
std::vector<std::pair<std::string, struct stat>> FilesRead(const AVFilterGraph* graph) {
    std::vector<std::pair<std::string, struct stat>> files;
    for (unsigned i = 0; i < graph->nb_filters; ++i) {
        uint8_t* name = nullptr;
        if (av_opt_get(graph->filters[i], "filename", AV_OPT_SEARCH_CHILDREN, &name) >= 0 && name != nullptr) {
            struct stat file {};
            std::string path(reinterpret_cast<const char*>(name));
            stat(path.c_str(), &file);
            files.emplace_back(std::move(path), file);
        }
        av_free(name);
    }
    return files;
}

Result<KeptGraph*> Graph(const AVFrame* frame, AVRational timeBase, const std::string& filter) {
    static KeptGraph kept;
    char args[256];
    const AVRational sar = frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio : AVRational{1, 1};
    std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                  frame->width, frame->height, frame->format, timeBase.num, timeBase.den, sar.num, sar.den);
    std::string key = args;
    key += '\n';
    key += filter;
    if (kept.graph && kept.key == key && Unchanged(kept.files)) {
        return &kept;
    }
    kept = KeptGraph{};
    std::unique_ptr<AVFilterGraph, FreeGraph> graph(avfilter_graph_alloc());
    // The encoder scales with bicubic unless told otherwise; so must the preview, to match it.
    graph->scale_sws_opts = av_strdup("flags=bicubic");
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    int rc = avfilter_graph_create_filter(&source, avfilter_get_by_name("buffer"), "in", args, nullptr,
                                          graph.get());
    if (rc >= 0) {
        rc = avfilter_graph_create_filter(&sink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                          graph.get());
    }
    const AVPixelFormat rgb[] = {AV_PIX_FMT_RGB24, AV_PIX_FMT_NONE};
    if (rc >= 0) {
        rc = av_opt_set_int_list(sink, "pix_fmts", rgb, AV_PIX_FMT_NONE, AV_OPT_SEARCH_CHILDREN);
    }
    if (rc < 0) {
        return Unrenderable(AvText(rc));
    }
    std::unique_ptr<AVFilterInOut, FreeInOut> outputs(avfilter_inout_alloc());
    std::unique_ptr<AVFilterInOut, FreeInOut> inputs(avfilter_inout_alloc());
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink;
    AVFilterInOut* in = inputs.release();
    AVFilterInOut* out = outputs.release();
    rc = avfilter_graph_parse_ptr(graph.get(), filter.c_str(), &in, &out, nullptr);
    avfilter_inout_free(&in);
    avfilter_inout_free(&out);
    if (rc >= 0) {
        rc = avfilter_graph_config(graph.get(), nullptr);
    }
    if (rc < 0) {
        return Unrenderable(AvText(rc));
    }
    std::vector<std::pair<std::string, struct stat>> files = FilesRead(graph.get());
    kept = KeptGraph{std::move(key), std::move(graph), source, sink, std::move(files)};
    return &kept;
}

// One picture through the graph for its shape and filter: RGB out, as PNG.
Result<std::string> Picture(const AVFrame* frame, AVRational timeBase, const std::string& filter) {
    const auto kept = Graph(frame, timeBase, filter);
    if (!kept.ok()) {
        return kept.status();
    }
    AVFilterContext* source = kept.value()->source;
    AVFilterContext* sink = kept.value()->sink;
    // The frame keeps its own time: the subtitles filter draws the text standing at that moment.
    int rc = av_buffersrc_add_frame_flags(source, const_cast<AVFrame*>(frame), AV_BUFFERSRC_FLAG_KEEP_REF);
    Frame picture(av_frame_alloc());
    if (rc >= 0) {
        rc = av_buffersink_get_frame(sink, picture.get());
    }
    bool keep = true;
    if (rc == AVERROR(EAGAIN)) { // a filter waits for more frames: the end of input lets it go
        keep = false;
        rc = av_buffersrc_add_frame(source, nullptr);
        if (rc >= 0) {
            rc = av_buffersink_get_frame(sink, picture.get());
        }
    } else if (rc >= 0) {
        Frame another(av_frame_alloc());
        keep = av_buffersink_get_frame(sink, another.get()) == AVERROR(EAGAIN);
    }
    if (!keep || rc < 0) {
        *kept.value() = KeptGraph{};
    }
    if (rc < 0) {
        return Unrenderable(AvText(rc));
    }
    const AVCodec* png = avcodec_find_encoder(AV_CODEC_ID_PNG);
    Codec encoder(avcodec_alloc_context3(png));
    encoder->width = picture->width;
    encoder->height = picture->height;
    encoder->pix_fmt = AV_PIX_FMT_RGB24;
    encoder->time_base = {1, 25};
    Packet packet(av_packet_alloc());
    rc = avcodec_open2(encoder.get(), png, nullptr);
    if (rc >= 0) {
        rc = avcodec_send_frame(encoder.get(), picture.get());
    }
    if (rc >= 0) {
        rc = avcodec_receive_packet(encoder.get(), packet.get());
    }
    if (rc < 0) {
        return Unrenderable(AvText(rc));
    }
    return std::string(reinterpret_cast<const char*>(packet->data), static_cast<std::size_t>(packet->size));
}
} // namespace

namespace {
// Raw frames carry nothing but pixels: their name tells the size and rate, the file's length how many.
Result<wire::Message> ProbeRaw(const std::string& path, const RawFrames& frames) {
    struct stat file {};
    if (stat(path.c_str(), &file) != 0) {
        return Unreadable(AVERROR(errno));
    }
    const long long bytes = file.st_size;
    if (bytes % frames.FrameBytes() != 0) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "the raw frames end within a frame: %1 bytes are not whole frames"),
                               std::to_string(bytes % frames.FrameBytes()));
    }
    const long long count = bytes / frames.FrameBytes();
    wire::Message answer;
    answer.add("answer", "ok").add("streams", "video").add("video_codec", "rawvideo");
    answer.add("frame_rate", std::to_string(frames.rate) + "/1");
    answer.add("width", std::to_string(frames.width)).add("height", std::to_string(frames.height));
    answer.add("sar", "1:1").add("rotation", "0").add("frames", std::to_string(count));
    answer.add("display_width", std::to_string(frames.width)).add("display_height", std::to_string(frames.height));
    answer.add("duration", std::to_string(static_cast<double>(count) / frames.rate));
    return answer;
}

// An AMV file (read as an AVI), whose container gives no duration: its video's packets counted at
// its frame rate. Only AMV: a long source without a duration is not read through for its size.
std::optional<double> CountedDuration(AVFormatContext* format) {
    const AVStream* video = First(format, AVMEDIA_TYPE_VIDEO);
    if (video == nullptr || video->codecpar->codec_id != AV_CODEC_ID_AMV || video->r_frame_rate.num <= 0 || video->r_frame_rate.den <= 0) {
        return std::nullopt;
    }
    Packet packet(av_packet_alloc());
    long count = 0;
    while (av_read_frame(format, packet.get()) >= 0) {
        count += packet->stream_index == video->index ? 1 : 0;
        av_packet_unref(packet.get());
    }
    return count > 0 ? std::optional(static_cast<double>(count) / av_q2d(video->r_frame_rate)) : std::nullopt;
}

struct FreeFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// An MP4's top-level boxes in order ("ftyp,moov,free,mdat"), from their headers alone: a few dozen at
// most, and none after one whose header does not fit the file.
std::string TopLevelBoxes(const std::string& path) {
    constexpr int kMostBoxes = 32;
    const std::unique_ptr<std::FILE, FreeFile> file(std::fopen(path.c_str(), "rb"));
    struct stat facts {};
    if (file == nullptr || fstat(fileno(file.get()), &facts) != 0) {
        return {};
    }
    const auto size = static_cast<std::uint64_t>(facts.st_size);
    std::uint64_t offset = 0;
    std::string boxes;
    for (int i = 0; i < kMostBoxes && offset < size; ++i) {
        std::array<std::uint8_t, 16> head{};
        if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
            break;
        }
        const std::size_t read = std::fread(head.data(), 1, head.size(), file.get());
        const std::optional<BoxHeader> box = ReadBoxHeader(std::span(head).first(read), size - offset);
        if (!box) {
            break;
        }
        boxes += (boxes.empty() ? "" : ",") + box->type;
        offset += box->size;
    }
    return boxes;
}

// Over the video's packets in decoding order: the most bytes any one second of them carries, and
// whether a picture is ever shown before one decoded earlier (B-frames). Bounded by a count far
// above any film's frames, so a hostile file cannot keep the worker reading.
struct VideoPackets {
    std::int64_t peakBytes = 0;
    bool reordered = false;
};
VideoPackets ReadVideoPackets(AVFormatContext* format, const AVStream* video) {
    constexpr long kMostPackets = 8'000'000;
    constexpr std::int64_t kFarthest = std::int64_t{1} << 60; // a time beyond it is taken as none: no overflow
    const AVRational base = video->time_base;
    const std::int64_t oneSecond = base.num > 0 && base.den > 0 ? av_rescale(1, base.den, base.num) : 0;
    VideoPackets facts;
    std::deque<std::pair<std::int64_t, int>> window; // decoding time, bytes
    std::int64_t windowBytes = 0;
    std::int64_t lastTime = 0;
    std::int64_t latestShown = AV_NOPTS_VALUE;
    const Packet packet(av_packet_alloc());
    for (long n = 0; n < kMostPackets && av_read_frame(format, packet.get()) >= 0; ++n) {
        if (packet->stream_index == video->index) {
            const std::int64_t shown = packet->pts;
            if (shown != AV_NOPTS_VALUE) {
                facts.reordered = facts.reordered || (latestShown != AV_NOPTS_VALUE && shown < latestShown);
                latestShown = latestShown == AV_NOPTS_VALUE ? shown : std::max(shown, latestShown);
            }
            const std::int64_t time = packet->dts != AV_NOPTS_VALUE ? packet->dts : shown;
            lastTime = time != AV_NOPTS_VALUE && std::llabs(time) < kFarthest ? time : lastTime;
            window.emplace_back(lastTime, packet->size);
            windowBytes += packet->size;
            while (oneSecond > 0 && window.front().first <= lastTime - oneSecond) {
                windowBytes -= window.front().second;
                window.pop_front();
            }
            facts.peakBytes = std::max(facts.peakBytes, windowBytes);
        }
        av_packet_unref(packet.get());
    }
    return facts;
}

// What the after-check needs of a video beyond the stream's parameters: the references an H.264
// stream declares (libavformat says 1 for every such file), an MP4's box order, and, read through the
// file, its fullest second and its B-frames.
void AddPlayerFacts(wire::Message& answer, AVFormatContext* format, const AVStream* video, const std::string& path,
                    bool readThrough) {
    const AVCodecParameters* p = video->codecpar;
    if (p->codec_id == AV_CODEC_ID_H264 && p->extradata != nullptr && p->extradata_size > 0) {
        const std::span<const std::uint8_t> extradata(p->extradata, static_cast<std::size_t>(p->extradata_size));
        if (const std::optional<int> references = DeclaredReferenceFrames(extradata)) {
            answer.add("reference_frames", std::to_string(*references));
        }
    }
    if (std::string_view(format->iformat->name).find("mp4") != std::string_view::npos) {
        answer.add("boxes", TopLevelBoxes(path));
    }
    if (readThrough) {
        const VideoPackets packets = ReadVideoPackets(format, video);
        answer.add("peak_video_bitrate", std::to_string(packets.peakBytes * 8));
        answer.add("b_frames", packets.reordered ? "1" : "0");
    }
}
} // namespace

namespace {
// One of a DPG's streams, read as a file of its own: the subfile protocol gives the demuxer only
// its bytes, so neither stream can be taken for the other.
Result<Format> OpenPart(const std::string& path, std::uint32_t start, std::uint32_t size, const char* demuxer) {
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "subfile,file", 0);
    const std::string url = "subfile,,start," + std::to_string(start) + ",end," +
                            std::to_string(std::uint64_t{start} + size) + ",,:file:" + path;
    AVFormatContext* raw = nullptr;
    int rc = avformat_open_input(&raw, url.c_str(), av_find_input_format(demuxer), &options);
    av_dict_free(&options);
    if (rc < 0) {
        return Unreadable(rc);
    }
    Format format(raw);
    rc = avformat_find_stream_info(format.get(), nullptr);
    const bool sound = std::string_view(demuxer) == "mp3";
    if (rc < 0 || First(format.get(), sound ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO) == nullptr) {
        return Status::Failure(FailureKind::BadInput,
                               sound ? ZVM_TEXT("zvm", "the DPG file is damaged: its sound stream cannot be read")
                                     : ZVM_TEXT("zvm", "the DPG file is damaged: its video stream cannot be read"));
    }
    return format;
}

// message says what disagrees; its detail is the header's value and the stream's.
Status DpgDamaged(const char* message, std::uint32_t header, long long stream) {
    return Status::Failure(FailureKind::BadInput, message, std::to_string(header) + " / " + std::to_string(stream));
}

// A DPG file: its header, then its video and its sound each read as the stream it holds, the video's
// pictures counted against the header's.
Result<wire::Message> ProbeDpg(const std::string& path) {
    const std::unique_ptr<std::FILE, FreeFile> file(std::fopen(path.c_str(), "rb"));
    struct stat facts {};
    if (file == nullptr || fstat(fileno(file.get()), &facts) != 0) {
        return Unreadable(AVERROR(errno));
    }
    std::array<char, dpg::kHeaderBytes> head{};
    const std::size_t got = std::fread(head.data(), 1, head.size(), file.get());
    const Result<dpg::Header> header = dpg::ReadHeader(std::string_view(head.data(), got), static_cast<std::uint64_t>(facts.st_size));
    if (!header.ok()) {
        return header.status();
    }
    const dpg::Header& h = header.value();
    auto video = OpenPart(path, h.videoStart, h.videoSize, "mpegvideo");
    auto audio = OpenPart(path, h.audioStart, h.audioSize, "mp3");
    if (!video.ok() || !audio.ok()) {
        return video.ok() ? audio.status() : video.status();
    }
    const AVStream* picture = First(video.value().get(), AVMEDIA_TYPE_VIDEO);
    const AVStream* sound = First(audio.value().get(), AVMEDIA_TYPE_AUDIO);
    long long frames = 0;
    const Packet packet(av_packet_alloc());
    while (av_read_frame(video.value().get(), packet.get()) >= 0) {
        frames += packet->stream_index == picture->index ? 1 : 0;
        av_packet_unref(packet.get());
    }
    if (frames != h.frames) {
        return DpgDamaged(ZVM_TEXT("zvm", "the DPG file is damaged: its header and its video disagree on the frame count (%1)"),
                          h.frames, frames);
    }
    if (sound->codecpar->sample_rate != static_cast<int>(h.sampleRate)) {
        return DpgDamaged(ZVM_TEXT("zvm", "the DPG file is damaged: its header and its sound disagree on the sample rate (%1)"),
                          h.sampleRate, sound->codecpar->sample_rate);
    }
    const AVCodecParameters* v = picture->codecpar;
    const AVCodecParameters* a = sound->codecpar;
    wire::Message answer;
    answer.add("answer", "ok").add("streams", "video,audio").add("video_codec", avcodec_get_name(v->codec_id));
    answer.add("frame_rate", Ratio(picture->r_frame_rate)).add("frames", std::to_string(frames));
    answer.add("width", std::to_string(v->width)).add("height", std::to_string(v->height));
    answer.add("sar", "1:1").add("rotation", "0");
    answer.add("display_width", std::to_string(v->width)).add("display_height", std::to_string(v->height));
    const double seconds = static_cast<double>(frames) / h.FramesPerSecond();
    answer.add("duration", std::to_string(seconds));
    answer.add("video_bitrate", std::to_string(std::llround(h.videoSize * 8.0 / seconds)));
    answer.add("audio_codec", avcodec_get_name(a->codec_id)).add("sample_rate", std::to_string(a->sample_rate));
    answer.add("channels", std::to_string(a->ch_layout.nb_channels));
    if (a->bit_rate > 0) {
        answer.add("audio_bitrate", std::to_string(a->bit_rate));
    }
    return answer;
}
} // namespace

Result<wire::Message> ProbeMedia(const std::string& path, bool readThrough) {
    if (path.ends_with(".dpg")) {
        return ProbeDpg(path);
    }
    if (const RawFrames raw = RawFramesFromName(path); raw.Named()) {
        return ProbeRaw(path, raw);
    }
    if (path.ends_with(".rgb")) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "raw frames are read by their name, which must end in their size, rate "
                                               "and byte order, as in %1"),
                               "clip-160x128-15fps-rgb565be.rgb");
    }
    auto opened = Open(path);
    if (!opened.ok()) {
        return opened.status();
    }
    const AVFormatContext* format = opened.value().get();
    wire::Message answer;
    answer.add("answer", "ok");
    std::string streams;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const char* type = av_get_media_type_string(format->streams[i]->codecpar->codec_type);
        if (i > 0) {
            streams += ',';
        }
        streams += type != nullptr ? type : "unknown";
    }
    answer.add("streams", streams);
    if (const AVDictionaryEntry* brand = av_dict_get(format->metadata, "major_brand", nullptr, 0)) {
        answer.add("brand", brand->value);
    }
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
        answer.add("duration", std::to_string(static_cast<double>(format->duration) / AV_TIME_BASE));
    } else if (const std::optional<double> counted = CountedDuration(opened.value().get())) {
        answer.add("duration", std::to_string(*counted));
    }
    if (const AVStream* video = First(format, AVMEDIA_TYPE_VIDEO)) {
        const AVCodecParameters* p = video->codecpar;
        const AVRational sar = av_guess_sample_aspect_ratio(const_cast<AVFormatContext*>(format),
                                                            const_cast<AVStream*>(video), nullptr);
        const int rotation = Rotation(video);
        answer.add("video_codec", avcodec_get_name(p->codec_id))
            .add("frame_rate", Ratio(video->r_frame_rate));
        answer.add("width", std::to_string(p->width)).add("height", std::to_string(p->height));
        answer.add("sar", Ratio(sar, ':'));
        answer.add("rotation", std::to_string(rotation));
        if (p->bit_rate > 0) { // bit/s, as the container or the stream's headers give it
            answer.add("video_bitrate", std::to_string(p->bit_rate));
        }
        if (const char* profile = avcodec_profile_name(p->codec_id, p->profile)) {
            answer.add("video_profile", profile);
        }
        if (p->level > 0) {
            answer.add("video_level", std::to_string(p->level));
        }
        if (p->width > 0 && p->height > 0) {
            const double stretch = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
            long displayWidth = std::lround(p->width * stretch);
            long displayHeight = p->height;
            if (rotation % 180 == 90) {
                std::swap(displayWidth, displayHeight);
            }
            answer.add("display_width", std::to_string(displayWidth));
            answer.add("display_height", std::to_string(displayHeight));
        }
    }
    if (const AVStream* video = First(format, AVMEDIA_TYPE_VIDEO)) {
        answer.add("field_order", FieldOrderWord(video->codecpar->field_order));
        AddPlayerFacts(answer, opened.value().get(), video, path, readThrough);
    }
    // Every sound stream, one a line: language, channels, default flag, title; tabs part them.
    std::string sounds;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) {
            continue;
        }
        const AVDictionaryEntry* language = av_dict_get(stream->metadata, "language", nullptr, 0);
        const AVDictionaryEntry* title = av_dict_get(stream->metadata, "title", nullptr, 0);
        sounds += OneLine(language != nullptr ? language->value : "");
        sounds += '\t';
        sounds += std::to_string(stream->codecpar->ch_layout.nb_channels);
        sounds += (stream->disposition & AV_DISPOSITION_DEFAULT) != 0 ? "\t1\t" : "\t0\t";
        sounds += OneLine(title != nullptr ? title->value : "");
        sounds += '\n';
    }
    if (!sounds.empty()) {
        answer.add("audio_streams", sounds);
    }
    if (const AVStream* audio = First(format, AVMEDIA_TYPE_AUDIO)) {
        answer.add("audio_codec", avcodec_get_name(audio->codecpar->codec_id));
        answer.add("sample_rate", std::to_string(audio->codecpar->sample_rate));
        answer.add("channels", std::to_string(audio->codecpar->ch_layout.nb_channels));
        if (audio->codecpar->bit_rate > 0) {
            answer.add("audio_bitrate", std::to_string(audio->codecpar->bit_rate));
        }
    }
    return answer;
}

namespace {
// The file last rendered from, opened with its decoder: the preview asks for one frame after another
// of the same source, and opening a 1080p file and probing its streams costs more than a keyframe.
struct OpenSource {
    std::string path;
    struct stat file {};
    Format format;
    Codec decoder;
    int index = -1;
};

Result<OpenSource*> Source(const std::string& path) {
    static OpenSource kept;
    struct stat file {};
    if (stat(path.c_str(), &file) == 0 && kept.format && kept.path == path && kept.file.st_size == file.st_size &&
        kept.file.st_mtim.tv_sec == file.st_mtim.tv_sec && kept.file.st_mtim.tv_nsec == file.st_mtim.tv_nsec) {
        avcodec_flush_buffers(kept.decoder.get());
        return &kept;
    }
    kept = OpenSource{};
    auto opened = Open(path);
    if (!opened.ok()) {
        return opened.status();
    }
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(opened.value().get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (index < 0 || codec == nullptr) {
        return Unrenderable(index < 0 ? AvText(index) : "no decoder for its video");
    }
    const AVStream* stream = opened.value()->streams[index];
    Codec decoder(avcodec_alloc_context3(codec));
    int rc = avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = 0; // as many as the machine has, as the encoder would decode
    if (rc >= 0) {
        rc = avcodec_open2(decoder.get(), codec, nullptr);
    }
    if (rc < 0) {
        return Unrenderable(AvText(rc));
    }
    kept = OpenSource{path, file, std::move(opened.value()), std::move(decoder), index};
    return &kept;
}
} // namespace

Result<std::string> RenderFrame(const std::string& path, double seconds, const std::string& filter,
                                const std::function<void(const std::string& png)>& keyframe) {
    const auto source = Source(path);
    if (!source.ok()) {
        return source.status();
    }
    AVFormatContext* format = source.value()->format.get();
    AVCodecContext* decoder = source.value()->decoder.get();
    const int index = source.value()->index;
    const AVStream* stream = format->streams[index];
    int rc = 0;
    const AVRational microseconds{1, AV_TIME_BASE}; // AV_TIME_BASE_Q is a C compound literal
    // The moment as the encoder seeks it: from the file's start time, then every frame before it dropped.
    const int64_t start = format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
    const int64_t wanted = start + std::llround(seconds * AV_TIME_BASE);
    avformat_seek_file(format, -1, INT64_MIN, wanted, wanted, 0); // a failed seek reads from the start
    const std::string filters = Upright(Rotation(stream)) + filter;
    Packet packet(av_packet_alloc());
    Frame frame(av_frame_alloc());
    bool first = true;
    bool draining = false;
    while (true) {
        rc = avcodec_receive_frame(decoder, frame.get());
        if (rc == 0) {
            const int64_t at = frame->best_effort_timestamp;
            const bool reached =
                at == AV_NOPTS_VALUE || av_rescale_q(at, stream->time_base, microseconds) >= wanted;
            if (reached) {
                return Picture(frame.get(), stream->time_base, filters);
            }
            if (first && keyframe) {
                const auto picture = Picture(frame.get(), stream->time_base, filters);
                if (picture.ok()) {
                    keyframe(picture.value());
                }
            }
            first = false;
            av_frame_unref(frame.get());
            continue;
        }
        if (rc == AVERROR_EOF || draining) {
            return Unrenderable("the video has no frame at this moment");
        }
        if (rc != AVERROR(EAGAIN)) {
            return Unrenderable(AvText(rc));
        }
        rc = av_read_frame(format, packet.get());
        if (rc < 0) {
            draining = true;
            avcodec_send_packet(decoder, nullptr);
            continue;
        }
        if (packet->stream_index == index) {
            rc = avcodec_send_packet(decoder, packet.get());
            // A damaged packet is skipped, as the encoder skips it; the next may decode.
            (void)rc; // not a Status: FFmpeg's code
        }
        av_packet_unref(packet.get());
    }
}

namespace {
// Where the picture stands inside black bars in one frame: its columns [left, right) and rows
// [top, bottom); none for a frame that is black or nearly uniform throughout, which shows no bars.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Box&) const = default;
};

// A row or column is a bar when its mean luma stays at most this far above black (as the encoder's
// own measure takes 24 of 255): a channel's logo in a bar leaves the bar's mean low.
constexpr int kBarLimit = 24;
// A frame whose luma spans less than this shows no picture to measure.
constexpr int kUniformSpan = 24;
// Frames measured, spread over the file.
constexpr int kLooks = 12;

struct Luma {
    const AVFrame* frame;
    int shift; // bits above 8
    bool wide; // two bytes a sample
    int at(int x, int y) const {
        const uint8_t* row = frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0];
        if (!wide) {
            return row[x];
        }
        uint16_t value = 0;
        std::memcpy(&value, row + std::ptrdiff_t{2} * x, 2);
        return value >> shift;
    }
};

std::optional<Box> Bars(const AVFrame* frame) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
    if (d == nullptr || (d->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM)) != 0 ||
        d->comp[0].plane != 0 || d->comp[0].depth < 8 || d->comp[0].depth > 16 || !(d->flags & AV_PIX_FMT_FLAG_PLANAR)) {
        return std::nullopt;
    }
    const Luma luma{frame, d->comp[0].depth - 8, d->comp[0].depth > 8};
    const int w = frame->width;
    const int h = frame->height;
    // Black is 16 in the usual limited range, 0 in full range.
    const int black = frame->color_range == AVCOL_RANGE_JPEG ? 0 : 16;
    std::vector<long long> rows(static_cast<std::size_t>(h));
    std::vector<long long> columns(static_cast<std::size_t>(w));
    int least = 255;
    int most = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int v = luma.at(x, y);
            rows[static_cast<std::size_t>(y)] += v;
            columns[static_cast<std::size_t>(x)] += v;
            least = std::min(least, v);
            most = std::max(most, v);
        }
    }
    if (most - least < kUniformSpan) {
        return std::nullopt;
    }
    const auto bar = [&](long long sum, int count) { return sum <= static_cast<long long>(black + kBarLimit) * count; };
    Box box{0, 0, w, h};
    while (box.top < h && bar(rows[static_cast<std::size_t>(box.top)], w)) {
        ++box.top;
    }
    while (box.bottom > box.top && bar(rows[static_cast<std::size_t>(box.bottom - 1)], w)) {
        --box.bottom;
    }
    while (box.left < w && bar(columns[static_cast<std::size_t>(box.left)], h)) {
        ++box.left;
    }
    while (box.right > box.left && bar(columns[static_cast<std::size_t>(box.right - 1)], h)) {
        --box.right;
    }
    if (box.right <= box.left || box.bottom <= box.top) {
        return std::nullopt;
    }
    return box;
}

// Whether a frame shows the comb of two fields taken at different moments: a line that differs from
// both lines next to it, in the same direction, where the lines two away (of its own field) do not.
// Fine detail of the picture differs from both alike; only motion between the fields does not.
bool Combed(const AVFrame* frame) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
    if (d == nullptr || (d->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)) != 0 || d->comp[0].plane != 0 ||
        d->comp[0].depth < 8 || frame->height < 8) {
        return false;
    }
    const Luma luma{frame, d->comp[0].depth - 8, d->comp[0].depth > 8};
    constexpr int kStep = 16; // a difference of luma that shows
    long near = 0;
    long far = 0;
    for (int y = 2; y + 2 < frame->height; ++y) {
        for (int x = 0; x < frame->width; x += 2) {
            const int v = luma.at(x, y);
            const auto differs = [&](int a, int b) {
                return (v - a > kStep && v - b > kStep) || (a - v > kStep && b - v > kStep);
            };
            near += differs(luma.at(x, y - 1), luma.at(x, y + 1)) ? 1 : 0;
            far += differs(luma.at(x, y - 2), luma.at(x, y + 2)) ? 1 : 0;
        }
    }
    const long sampled = static_cast<long>(frame->height - 4) * (frame->width / 2);
    return near > 2 * far && near * 500 > sampled;
}

// The decoded frame at or after `wanted` (in microseconds from the file's start time).
bool FrameAt(AVFormatContext* format, AVCodecContext* decoder, int index, int64_t wanted, AVFrame* frame) {
    const AVRational microseconds{1, AV_TIME_BASE};
    const AVStream* stream = format->streams[index];
    avcodec_flush_buffers(decoder);
    avformat_seek_file(format, -1, INT64_MIN, wanted, wanted, 0); // a failed seek reads from the start
    Packet packet(av_packet_alloc());
    bool draining = false;
    while (true) {
        const int rc = avcodec_receive_frame(decoder, frame);
        if (rc == 0) {
            const int64_t at = frame->best_effort_timestamp;
            if (at == AV_NOPTS_VALUE || av_rescale_q(at, stream->time_base, microseconds) >= wanted) {
                return true;
            }
            av_frame_unref(frame);
            continue;
        }
        if (rc != AVERROR(EAGAIN) || draining) {
            return false;
        }
        if (av_read_frame(format, packet.get()) < 0) {
            draining = true;
            avcodec_send_packet(decoder, nullptr);
            continue;
        }
        if (packet->stream_index == index) {
            const int sent = avcodec_send_packet(decoder, packet.get());
            (void)sent; // not a Status: a damaged packet is skipped, as the encoder skips it
        }
        av_packet_unref(packet.get());
    }
}
} // namespace

Result<wire::Message> LookAtPicture(const std::string& path) {
    const auto source = Source(path);
    if (!source.ok()) {
        return source.status();
    }
    AVFormatContext* format = source.value()->format.get();
    AVCodecContext* decoder = source.value()->decoder.get();
    const int index = source.value()->index;
    const int64_t start = format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
    const int64_t length = format->duration != AV_NOPTS_VALUE && format->duration > 0 ? format->duration : 0;
    // The first and last seconds hold titles and fades: skipped, a tenth of a short file at most.
    const int64_t skip = std::min<int64_t>(int64_t{5} * AV_TIME_BASE, length / 10);
    const int64_t span = length - 2 * skip;
    std::vector<Box> boxes;
    int read = 0;
    int interlaced = 0;
    int progressive = 0;
    int combed = 0;
    Frame frame(av_frame_alloc());
    for (int i = 0; i < kLooks; ++i) {
        const int64_t wanted = start + skip + span * (2 * i + 1) / (int64_t{2} * kLooks);
        if (!FrameAt(format, decoder, index, wanted, frame.get())) {
            continue;
        }
        ++read;
        ++(frame->interlaced_frame != 0 ? interlaced : progressive);
        combed += Combed(frame.get()) ? 1 : 0;
        if (const std::optional<Box> box = Bars(frame.get())) {
            boxes.push_back(*box);
        }
        av_frame_unref(frame.get());
    }
    wire::Message answer;
    answer.add("answer", "ok");
    answer.add("frames", std::to_string(read));
    answer.add("interlaced_frames", std::to_string(interlaced));
    answer.add("progressive_frames", std::to_string(progressive));
    answer.add("combed_frames", std::to_string(combed));
    const AVCodecParameters* p = format->streams[index]->codecpar;
    answer.add("width", std::to_string(p->width)).add("height", std::to_string(p->height));
    const auto why = [&](std::string text) {
        answer.add("crop_why", std::move(text));
        return answer;
    };
    if (Rotation(format->streams[index]) != 0) {
        return why("the picture is turned for display, which the measure does not follow");
    }
    if (boxes.size() < 5) {
        return why(std::to_string(boxes.size()) + " of " + std::to_string(read) +
                   " frames looked at show a picture: too few to measure its borders");
    }
    // The most common border; frames within two pixels of it on every side agree with it.
    const auto near = [](const Box& a, const Box& b) {
        return std::abs(a.left - b.left) <= 2 && std::abs(a.top - b.top) <= 2 && std::abs(a.right - b.right) <= 2 &&
               std::abs(a.bottom - b.bottom) <= 2;
    };
    std::size_t best = 0;
    long agreeing = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const long count = std::count_if(boxes.begin(), boxes.end(), [&](const Box& b) { return near(b, boxes[i]); });
        if (count > agreeing) {
            best = i;
            agreeing = count;
        }
    }
    const std::string agreement = std::to_string(agreeing) + " of " + std::to_string(boxes.size());
    answer.add("crop_agree", agreement);
    if (agreeing != static_cast<long>(boxes.size())) {
        return why("the frames disagree on the picture's borders (" + agreement + " agree): no crop");
    }
    // The widest picture any frame showed, its corner and sides even, so no frame loses picture.
    Box keep = boxes[best];
    for (const Box& b : boxes) {
        keep = {std::min(keep.left, b.left), std::min(keep.top, b.top), std::max(keep.right, b.right),
                std::max(keep.bottom, b.bottom)};
    }
    keep.left -= keep.left % 2;
    keep.top -= keep.top % 2;
    keep.right = std::min(p->width - p->width % 2, keep.right + keep.right % 2);
    keep.bottom = std::min(p->height - p->height % 2, keep.bottom + keep.bottom % 2);
    const int width = keep.right - keep.left;
    const int height = keep.bottom - keep.top;
    if (width == p->width && height == p->height) {
        return why("the frames show no black bars");
    }
    if (2 * width < p->width || 2 * height < p->height) {
        return why("the picture found is less than half the frame, more likely a dark scene than bars: no crop");
    }
    answer.add("crop", std::to_string(width) + ":" + std::to_string(height) + ":" + std::to_string(keep.left) + ":" +
                           std::to_string(keep.top));
    return answer;
}

} // namespace zvm::media
