#pragma once
#include <string>

namespace olve {

// Messages of a start that cannot meet the running instance safely.

// "The folder < ... > is not this user's own; the player does not start."
std::string NotPrivateFolderMessage(const std::string& folder);

// "The file < ... > belongs to another user (or is no plain file); the player does not start."
std::string ForeignFileMessage(const std::string& file);

// "< ... > cannot be used: reason"
std::string UnusableFileMessage(const std::string& file, const std::string& reason);

// "The running player does not answer"; names the package that was not handed over, when
// there is one.
std::string NoAnswerMessage(const std::string& package);

// "Packages handed over by later starts cannot be received here."
std::string NoHandOverMessage(const std::string& socket);

}  // namespace olve
