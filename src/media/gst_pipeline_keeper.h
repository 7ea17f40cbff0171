#pragma once
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "media/gst_stream_info.h"

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstSample GstSample;

namespace olve {

class TGstSession;

// Owns one playbin on a thread of its own, from prerolling to freeing it. Both block for as
// long as a streaming thread waits in a read that does not return (a network share that
// stopped answering), so the session waits for them only up to a time-out and then lets go:
// the thread frees the pipeline whenever the read returns, and nothing waits for it.
class TGstPipelineKeeper : public std::enable_shared_from_this<TGstPipelineKeeper> {
public:
    // Takes over the pipeline's reference. Messages and frames reach session until Release.
    TGstPipelineKeeper(GstElement* pipeline, TGstSession* session);
    TGstPipelineKeeper(const TGstPipelineKeeper&) = delete;
    TGstPipelineKeeper& operator=(const TGstPipelineKeeper&) = delete;

    // Prerolls the file on the keeper's thread, then reads its stream info there; waits up
    // to timeoutMs for each. Returns the error text, or an empty string once it is ready.
    std::string Open(const QString& fileName, int timeoutMs, TGstStreamInfo& info);
    // No message or frame reaches the session once this returns. Stopping and freeing the
    // pipeline is waited for up to waitMs, and not at all when opening did not answer.
    void Release(int waitMs);

    // From the pipeline's bus and its video sink, on any thread.
    void Deliver(GstMessage* message);
    void Deliver(GstSample* sample);

private:
    enum class TStep { Idle, Prerolling, Reading, Ready, Failed };

    void Run(const QString& fileName);
    std::string StartPrerolling(const QString& fileName);
    bool TakeOpeningMessage(GstMessage* message);
    void Fail(const std::string& text);

    GstElement* const FPipeline;

    // Held shared while a message or frame is handed to the session.
    std::shared_mutex FGate;
    TGstSession* FSession;

    std::mutex FMutex;
    std::condition_variable FChanged;
    TStep FStep = TStep::Idle;
    bool FPrerolled = false;
    std::string FError;
    TGstStreamInfo FInfo;
    bool FAnswering = true;
    bool FReleasing = false;
    bool FFreed = false;
};

}  // namespace olve
