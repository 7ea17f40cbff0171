#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace olve {

// An ordered list of byte-string lines with a text form (every line followed by CR LF) and
// change notifications that can be held back while a batch of edits runs.
class TStringList {
public:
    std::function<void()> OnChange;

    virtual ~TStringList() = default;

    int Count() const { return static_cast<int>(FLines.size()); }
    const std::string& operator[](int index) const { return FLines.at(CheckedIndex(index)); }
    const std::vector<std::string>& Lines() const { return FLines; }

    int Add(const std::string& line);
    void Insert(int index, const std::string& line);
    void Delete(int index);
    void Put(int index, const std::string& line);
    void Clear();
    void Assign(std::vector<std::string> lines);

    // Each line followed by CR LF.
    std::string Text() const;
    // Splits at CR LF, CR or LF; a final line break adds no empty line.
    void SetText(const std::string& text);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

private:
    std::size_t CheckedIndex(int index) const;
    void Changed();

    std::vector<std::string> FLines;
    int FUpdateCount = 0;
    bool FChangedDuringUpdate = false;
};

}  // namespace olve
