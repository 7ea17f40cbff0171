#pragma once
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A named pipe standing for a file on a share that stopped answering: a reader gets head
// and then waits in read() for ever, or, with no head, waits in open() for ever. The pipe
// is closed at the end, so that a reader still waiting in it returns.
class TStalledFifo {
public:
    TStalledFifo(const std::string& path, const std::string& head) : FPath(path)
    {
        FReady = mkfifo(path.c_str(), 0600) == 0;
        if (!FReady || head.empty())
            return;
        // Read and write: opening does not wait for a reader, and the pipe keeps a writer.
        // The head must fit into the pipe's buffer (64 KiB).
        FWriter = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        FReady = FWriter >= 0 && write(FWriter, head.data(), head.size()) == static_cast<ssize_t>(head.size());
    }
    ~TStalledFifo()
    {
        // A writer that comes and goes lets a reader waiting in open() go on to the end.
        if (FWriter < 0)
            FWriter = open(FPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        Close();
    }
    TStalledFifo(const TStalledFifo&) = delete;
    TStalledFifo& operator=(const TStalledFifo&) = delete;

    // False when the pipe or its head could not be made.
    bool Ready() const { return FReady; }

private:
    void Close()
    {
        if (FWriter >= 0)
            close(FWriter);
        FWriter = -1;
    }

    std::string FPath;
    int FWriter = -1;
    bool FReady = false;
};
