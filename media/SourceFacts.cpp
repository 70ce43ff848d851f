#include "media/SourceFacts.h"

#include "media/SubtitleSource.h"

namespace zvm::media {

RunFacts ReadFacts(const SizeDetection& read) {
    RunFacts facts;
    facts.duration = read.duration;
    facts.subtitleStreams = read.subtitleStreams;
    facts.interlaced = read.interlaced;
    if (read.size) {
        facts.width = read.size->width();
        facts.height = read.size->height();
        facts.hasAudio = read.hasAudio;
        facts.audioStreams = read.audioStreams;
        facts.audioStreamsRead = true;
        facts.pixelWidth = read.pixels.width();
        facts.pixelHeight = read.pixels.height();
        facts.frameRate = read.frameRate;
    }
    if (read.look) {
        AddLook(facts, *read.look);
    }
    return facts;
}

void AddLook(RunFacts& read, const PictureLook& look) {
    read.foundCrop = look.crop;
    read.cropWhy = look.cropWhy;
    read.interlaced = read.interlaced ? read.interlaced : look.interlaced;
    read.pictureLooked = true;
}

RunFacts FactsOf(const ConversionRequest& request, const std::optional<SizeDetection>& read) {
    RunFacts facts = FilesOf(request);
    if (read) {
        AddRead(facts, ReadFacts(*read));
    }
    return facts;
}

} // namespace zvm::media
