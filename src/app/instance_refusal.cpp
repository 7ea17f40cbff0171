#include "app/instance_refusal.h"

namespace olve {

namespace {

const char* const LineBreaks = "\r\n\r\n";

std::string Named(const std::string& path)
{
    return std::string(LineBreaks) + "< " + path + " >";
}

}  // namespace

std::string NotPrivateFolderMessage(const std::string& folder)
{
    return std::string("フォルダがこのユーザー専用ではないため、起動できません") + LineBreaks +
           "the folder is not private to this user (owner and mode 0700), so the player does not start" +
           Named(folder);
}

std::string ForeignFileMessage(const std::string& file)
{
    return std::string("ほかのユーザーのファイルがあるため、起動できません") + LineBreaks +
           "a file there belongs to another user or is not a plain file, so the player does not start" + Named(file);
}

std::string UnusableFileMessage(const std::string& file, const std::string& reason)
{
    return std::string("ファイルを使えないため、起動できません") + LineBreaks + "the file cannot be used: " + reason +
           Named(file);
}

std::string NoAnswerMessage(const std::string& package)
{
    std::string text = std::string("起動中のプレーヤーが応答しません") + LineBreaks +
                       "the running player does not answer; close it and start again";
    if (!package.empty())
        text += std::string(LineBreaks) + "このパッケージは開きませんでした / this package was not opened" + Named(package);
    return text;
}

std::string NoHandOverMessage(const std::string& socket)
{
    return std::string("ほかの起動からパッケージを受け取れません") + LineBreaks +
           "packages from later starts of the player cannot be received" + Named(socket);
}

}  // namespace olve
