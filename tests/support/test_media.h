#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef struct _GstElement GstElement;

// Makes a media file by running a GStreamer pipeline to its end; the description's
// "{out}" stands for the file. feed, when given, is called once the pipeline is started (to push
// data into its appsrc elements). False when the pipeline cannot run.
bool MakeMedia(const std::string& description, const std::string& out,
               const std::function<void(GstElement*)>& feed = {});

// Seconds of a mono 44.1 kHz tone, and the same encoded as Ogg Vorbis or MP3 (with a header
// that gives its length), and a short MJPEG video in AVI.
bool MakeWav(const std::string& out, int seconds);
bool MakeOgg(const std::string& out, int seconds);
bool MakeMp3(const std::string& out, int seconds);
bool MakeAvi(const std::string& out, int width, int height, int frames);

// Runs ffmpeg on in with the options (as one would type them), writing out; false when it fails.
bool Ffmpeg(const std::string& in, const std::string& options, const std::string& out);

// Seconds of clicks made by ffmpeg into Ogg Vorbis that starts at 0, with one header page
// damaged (granule 1 where 0 belongs): the demuxer ends every segment near the start at once.
bool MakeOggWithDamagedHeader(const std::string& out, int seconds);

// The 16-bit samples of a raw capture (a filesink's file).
std::vector<std::int16_t> ReadRawSamples(const std::string& path);

// Where each click of a single 20-sample sine period starts (ms) in mono samples at rate: the
// sine reaches the height looked for 2 samples in.
std::vector<double> ClickMs(const std::vector<std::int16_t>& samples, int rate);
