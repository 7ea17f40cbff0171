#include "media/gst_pipeline_keeper.h"

#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <gst/gst.h>
#include <gst/pbutils/missing-plugins.h>
#include <thread>

#include "media/device_error.h"
#include "media/gst_session.h"

namespace olve {

namespace {

// How long a failed state change may take to post the error that tells why.
constexpr std::chrono::milliseconds ErrorPostingTime(200);

std::string ErrorText(GstMessage* message)
{
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    std::string text = error && error->message ? error->message : UnknownErrorText;
    g_clear_error(&error);
    g_free(debug);
    return text;
}

std::string MissingPluginText(GstMessage* message)
{
    gchar* description = gst_missing_plugin_message_get_description(message);
    std::string text = std::string("Your GStreamer installation is missing a plug-in: ") +
                       (description ? description : "unknown");
    g_free(description);
    return text;
}

}  // namespace

TGstPipelineKeeper::TGstPipelineKeeper(GstElement* pipeline, TGstSession* session)
    : FPipeline(pipeline), FSession(session)
{
}

std::string TGstPipelineKeeper::Open(const QString& fileName, int timeoutMs, TGstStreamInfo& info)
{
    {
        std::lock_guard lock(FMutex);
        FStep = TStep::Prerolling;
    }
    std::thread([self = shared_from_this(), fileName] { self->Run(fileName); }).detach();

    std::unique_lock lock(FMutex);
    const std::chrono::milliseconds timeout(timeoutMs);
    const bool answered = FChanged.wait_for(lock, timeout, [&] { return FStep != TStep::Prerolling; }) &&
                          FChanged.wait_for(lock, timeout, [&] { return FStep != TStep::Reading; });
    if (!answered) {
        FAnswering = false;
        return NoAnswerText(timeoutMs);
    }
    if (FStep == TStep::Failed)
        return FError;
    info = FInfo;
    return {};
}

void TGstPipelineKeeper::Release(int waitMs)
{
    {
        std::unique_lock gate(FGate);
        FSession = nullptr;
    }
    std::unique_lock lock(FMutex);
    if (FStep == TStep::Idle) {
        // Never started: no thread of GStreamer's runs.
        lock.unlock();
        gst_object_unref(FPipeline);
        return;
    }
    FReleasing = true;
    FChanged.notify_all();
    if (FAnswering)
        FChanged.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return FFreed; });
}

void TGstPipelineKeeper::Run(const QString& fileName)
{
    const std::string error = StartPrerolling(fileName);
    std::unique_lock lock(FMutex);
    if (FError.empty())
        FError = error;
    FChanged.wait(lock, [&] { return FPrerolled || !FError.empty() || FReleasing; });
    if (FError.empty() && !FReleasing) {
        FStep = TStep::Reading;
        FChanged.notify_all();
        lock.unlock();
        const TGstStreamInfo info = ReadStreamInfo(FPipeline, fileName);
        lock.lock();
        FInfo = info;
        FStep = TStep::Ready;
    } else {
        FStep = TStep::Failed;
    }
    FChanged.notify_all();

    FChanged.wait(lock, [&] { return FReleasing; });
    lock.unlock();
    // Joins the streaming threads: returns once their reads have.
    gst_element_set_state(FPipeline, GST_STATE_NULL);
    gst_object_unref(FPipeline);
    lock.lock();
    FFreed = true;
    FChanged.notify_all();
}

std::string TGstPipelineKeeper::StartPrerolling(const QString& fileName)
{
    // Not only regular files: a pipe or a device is read as the stream it is.
    const QFileInfo file(fileName);
    if (!file.exists() || file.isDir())
        return "Resource not found.";
    gchar* uri = gst_filename_to_uri(QFile::encodeName(file.absoluteFilePath()).constData(), nullptr);
    g_object_set(FPipeline, "uri", uri, nullptr);
    g_free(uri);
    if (gst_element_set_state(FPipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE)
        return {};
    std::unique_lock lock(FMutex);
    FChanged.wait_for(lock, ErrorPostingTime, [&] { return !FError.empty(); });
    return FError.empty() ? UnknownErrorText : FError;
}

void TGstPipelineKeeper::Fail(const std::string& text)
{
    std::lock_guard lock(FMutex);
    if (FError.empty())
        FError = text;
    FChanged.notify_all();
}

bool TGstPipelineKeeper::TakeOpeningMessage(GstMessage* message)
{
    {
        std::lock_guard lock(FMutex);
        if (FStep != TStep::Prerolling || FPrerolled)
            return false;
    }
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(FPipeline)) {
            std::lock_guard lock(FMutex);
            FPrerolled = true;
            FChanged.notify_all();
        }
        return true;
    case GST_MESSAGE_ELEMENT:
        if (gst_is_missing_plugin_message(message))
            Fail(MissingPluginText(message));
        return true;
    case GST_MESSAGE_ERROR:
        Fail(ErrorText(message));
        return true;
    default:
        return false;
    }
}

void TGstPipelineKeeper::Deliver(GstMessage* message)
{
    if (TakeOpeningMessage(message))
        return;
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type != GST_MESSAGE_ERROR && type != GST_MESSAGE_EOS)
        return;
    std::shared_lock gate(FGate);
    if (!FSession)
        return;
    if (type == GST_MESSAGE_ERROR)
        FSession->PostError(ErrorText(message));
    else
        FSession->PostEndOfStream(gst_message_get_seqnum(message));
}

void TGstPipelineKeeper::Deliver(GstSample* sample)
{
    std::shared_lock gate(FGate);
    if (FSession)
        FSession->TakeSample(sample);
    else if (sample)
        gst_sample_unref(sample);
}

}  // namespace olve
