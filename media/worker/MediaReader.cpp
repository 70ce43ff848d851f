#include "media/worker/MediaReader.h"

#include "core/Presets.h"
#include "core/Text.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/opt.h>
}

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>
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
} // namespace

Result<wire::Message> ProbeMedia(const std::string& path) {
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

} // namespace zvm::media
