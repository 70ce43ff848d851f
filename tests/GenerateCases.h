#pragma once

#include <QFile>
#include <QTest>

#include <iterator>

// Requests that the window and the command-line tool are both given, with the one command each must
// write for them: the two faces share one command builder, and these show it.
struct GenerateCase {
    const char* name;
    const char* target;    // the tool's word for the window's list row
    int preset;
    bool animation;
    const char* width;
    const char* height;
    const char* videoBitrate;
    const char* audioBitrate;
    const char* sampleRate;
    bool modern;
    const char* command; // for the source /videos/clip.avi, the encoder "ffmpeg", the output named after it
};

inline constexpr GenerateCase kGenerateCases[] = {
    {"gba live modern", "gba-240x160", 0, false, "1280", "720", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -r 30000/1001 -vf scale=240:136,pad=240:160:0:12,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "/videos/clip.mp4")"},
    {"psp animation classic", "psp-368x208", 3, true, "640", "480", "256", "32", "24000", false,
     R"(ffmpeg -y -i "/videos/clip.avi" -r 14.985 -s 278x208 -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b 256 -acodec aac -ac 2 -ar 24000 -ab 32 -f mp4 -padright 44 -padleft 46 "/videos/clip.mp4")"},
    {"vcd modern", "vcd-352x240", 4, false, "720", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -target ntsc-vcd -ar 44100 -b:a 192k -vf scale=352:234,pad=352:240:0:4,setsar=1 "/videos/clip.mpg")"},
    {"gba 176 own numbers classic", "gba-240x176", 1, false, "176", "144", "300", "64", "22050", false,
     R"(ffmpeg -y -i "/videos/clip.avi" -r 29.971 -s 216x176 -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b 300 -acodec aac -ac 2 -ar 22050 -ab 64 -f mp4 -padright 12 -padleft 12 "/videos/clip.mp4")"},
    // The later targets take the modern form whichever is chosen, and no movie type.
    {"psp h264, classic chosen", "psp-480x272", 5, true, "1280", "720", "256", "32", "24000", false,
     R"(ffmpeg -y -i "/videos/clip.avi" -fpsmax 30000/1001 -vf scale=480:270,pad=480:272:0:2,setsar=1 -c:v libx264 -profile:v main -level:v 2.1 -refs 2 -x264-params b-pyramid=none -pix_fmt yuv420p -b:v 256k -maxrate 256k -bufsize 512k -c:a aac -ac 2 -ar 24000 -b:a 32k -movflags +faststart -f psp "/videos/clip.mp4")"},
    // 4:3 on a 4:3 TV fills it; 720x480 shown as 3:2 is stored 11/10 wider on NTSC's 10:11 pixels.
    {"vcd pal", "vcd-pal-352x288", 6, false, "640", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -target pal-vcd -mbd rd -trellis 1 -cmp 2 -subcmp 2 -bf 2 -flags +cgop -sc_threshold 1000000000 -ar 44100 -b:a 224k -vf scale=352:288,pad=352:288:0:0,setsar=12/11 "/videos/clip.mpg")"},
    {"vcd for a tv", "vcd-tv-352x240", 7, false, "720", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -target ntsc-vcd -mbd rd -trellis 1 -cmp 2 -subcmp 2 -bf 2 -flags +cgop -sc_threshold 1000000000 -ar 44100 -b:a 224k -vf scale=352:214,pad=352:240:0:14,setsar=10/11 "/videos/clip.mpg")"},
    // Today's small screens: Xvid-tagged AVI with MP3 (named apart from its AVI source); AMV at a rate
    // that divides 22050, one frame's samples a block; raw frames named by what they are; Motion JPEG
    // without sound; baseline H.264 held to the iPod's one reference frame.
    {"ds avi", "ds-256x192", 8, false, "640", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -fpsmax 15 -vf scale=256:192,pad=256:192:0:0,setsar=1 -c:v mpeg4 -vtag XVID -b:v 256k -maxrate 256k -bufsize 512k -c:a libmp3lame -ac 2 -ar 24000 -b:a 32k -f avi "/videos/clip-converted.avi")"},
    {"amv", "amv-208x176", 10, false, "1280", "720", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -r 10 -vf scale=208:118,pad=208:176:0:30,setsar=1 -c:v amv -pix_fmt yuvj420p -q:v 3 -c:a adpcm_ima_amv -ar 22050 -ac 1 -block_size 2205 -f amv "/videos/clip.amv")"},
    {"raw rgb565", "mcu-160x128", 11, false, "640", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -r 15 -vf scale=160:120,pad=160:128:0:4,setsar=1 -pix_fmt rgb565be -an -f rawvideo "/videos/clip-160x128-15fps-rgb565be.rgb")"},
    {"mjpeg", "mcu-320x240", 13, false, "1280", "720", "256", "32", "24000", false,
     R"(ffmpeg -y -i "/videos/clip.avi" -r 15 -vf scale=320:180,pad=320:240:0:30,setsar=1 -c:v mjpeg -pix_fmt yuvj420p -q:v 3 -an -f avi "/videos/clip-converted.avi")"},
    {"baseline", "ipod-320x240", 15, false, "720", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -fpsmax 30000/1001 -vf scale=320:214,pad=320:240:0:14,setsar=1 -c:v libx264 -profile:v baseline -level:v 3.0 -refs 1 -x264-params b-pyramid=none -pix_fmt yuv420p -b:v 256k -maxrate 256k -bufsize 512k -c:a aac -ac 2 -ar 24000 -b:a 32k -movflags +faststart -f mp4 "/videos/clip.mp4")"},
    // DPG: its two streams beside the output, the sound at the format's usual rate and bitrate.
    {"dpg", "dpg-256x192", 18, false, "640", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -map 0:v:0 -r 15 -vf scale=256:192,pad=256:192:0:0,setsar=1 -c:v mpeg1video -strict -1 -b:v 256k -maxrate 256k -bufsize 512k -an -f mpeg1video "/videos/clip.dpg.m1v" -vn -c:a mp2 -ac 2 -ar 32000 -b:a 128k -f mp2 "/videos/clip.dpg.mp2")"},
    // The user's own target of kCaseTargetsFile, the first row after the built-in ones: 4:3 fills its
    // height and is padded (640 - 480) / 2 at each side; its own rate limit and audio bitrate.
    {"a user's target", "my-phone", 19, false, "640", "480", "256", "32", "24000", true,
     R"(ffmpeg -y -i "/videos/clip.avi" -fpsmax 25 -vf scale=480:360,pad=640:360:80:0,setsar=1 -c:v libx264 -profile:v main -level:v 3.0 -pix_fmt yuv420p -b:v 256k -maxrate 256k -bufsize 512k -c:a aac -ac 2 -ar 24000 -b:a 96k -movflags +faststart -f mp4 "/videos/clip.mp4")"},
};

// targets.json for the cases: given to the window, the tool and the builder alike.
inline constexpr const char* kCaseTargetsFile =
    R"({"targets": [{"name": "my-phone", "label": "Phone - 640x360", "width": 640, "height": 360, )"
    R"("video": "h264", "container": "mp4", "maxFrameRate": 25, "audioBitrate": 96}]})";

inline bool WriteCaseTargets(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(kCaseTargetsFile) > 0;
}

// A test's rows, one per case, each giving the case's place in the list.
inline void AddGenerateCaseRows() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kGenerateCases)); ++i) {
        QTest::newRow(kGenerateCases[i].name) << i;
    }
}
