#pragma once
// One installation of a package into a temporary folder, with recorded dialogs.
#include <filesystem>
#include <string>
#include <vector>

#include "extract_recorders.h"
#include "filetrain/train_extract.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "train_bytes.h"

namespace train_test {

struct TInstall {
    TTempFolder Dir;
    TRecordingFeedback Feedback;
    TAnsweringQuestion Question;
    TRecordingPrompts Prompts;
    olve::TStringList Extracted;
    olve::TExtractOutcome Outcome;

    std::string Package() const { return Dir / "p.qzw"; }
    std::string Dest() const { return Dir / "dest"; }
    std::string At(const std::string& relative) const { return Dest() + "/" + relative; }

    void Make(const std::string& header, const std::vector<TEntry>& entries) const
    {
        WriteBytes(Package(), TrainBytes(header, entries));
    }
    void Existing(const std::string& relative, const std::string& content) const
    {
        std::filesystem::create_directories(std::filesystem::path(At(relative)).parent_path());
        WriteBytes(At(relative), content);
    }
    bool Run(int mode, bool useHeaderFolder = true, const std::string& dest = "")
    {
        olve::TExtractUi ui;
        ui.Feedback = &Feedback;
        ui.CopyQuestion = &Question;
        const bool installed = olve::ExtractFileTrain(ui, Package(), dest.empty() ? Dest() : dest, Extracted, mode,
                                                      useHeaderFolder, &Outcome);
        Tell();
        return installed;
    }
    // What the player shows of the problems.
    void Tell()
    {
        for (const olve::TFailure& problem : Outcome.Problems)
            Prompts.Message(olve::BilingualText(problem));
    }
    std::vector<std::string> Written() const { return Extracted.Lines(); }
};

}  // namespace train_test
