#include "app/instance_refusal.h"

#include "files/failure.h"

namespace olve {

namespace {

std::string Refusal(TFailureKind kind, std::string japanese, std::string english, std::string subject)
{
    return BilingualText({kind, std::move(japanese), std::move(english), std::move(subject), TSubjectPlace::AngledBelow});
}

}  // namespace

std::string NotPrivateFolderMessage(const std::string& folder)
{
    return Refusal(TFailureKind::Refused, "フォルダがこのユーザー専用ではないため、起動できません",
                   "the folder is not private to this user (owner and mode 0700), so the player does not start", folder);
}

std::string ForeignFileMessage(const std::string& file)
{
    return Refusal(TFailureKind::Refused, "ほかのユーザーのファイルがあるため、起動できません",
                   "a file there belongs to another user or is not a plain file, so the player does not start", file);
}

std::string UnusableFileMessage(const std::string& file, const std::string& reason)
{
    return Refusal(TFailureKind::Failed, "ファイルを使えないため、起動できません", "the file cannot be used: " + reason, file);
}

std::string NoAnswerMessage(const std::string& package)
{
    const TFailure silent{TFailureKind::NoAnswer, "起動中のプレーヤーが応答しません",
                          "the running player does not answer; close it and start again"};
    if (package.empty())
        return BilingualText(silent);
    // What became of the package is one more line, in both languages at once.
    return BilingualText(silent) + "\r\n\r\nこのパッケージは開きませんでした / this package was not opened\r\n\r\n< " +
           package + " >";
}

std::string NoHandOverMessage(const std::string& socket)
{
    return Refusal(TFailureKind::Failed, "ほかの起動からパッケージを受け取れません",
                   "packages from later starts of the player cannot be received", socket);
}

}  // namespace olve
