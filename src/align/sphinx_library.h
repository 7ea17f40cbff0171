#pragma once
#include <pocketsphinx.h>
#include <sphinxbase/ckd_alloc.h>
#include <sphinxbase/fsg_model.h>

#include <string>

namespace olve {

#define OLVE_SPHINX_FUNCTIONS(F)                                                                                      \
    F(ps_args) F(ps_init) F(ps_free) F(ps_lookup_word) F(ps_add_word) F(ps_get_logmath) F(ps_set_fsg)               \
    F(ps_set_search) F(ps_start_utt) F(ps_process_raw) F(ps_end_utt) F(ps_seg_iter) F(ps_seg_next) F(ps_seg_word)   \
    F(ps_seg_frames) F(cmd_ln_init) F(cmd_ln_free_r) F(ckd_free) F(logmath_log) F(fsg_model_init)                   \
    F(fsg_model_free) F(fsg_model_word_add) F(fsg_model_trans_add) F(fsg_model_null_trans_add)

// The offline recognizer's library, loaded when a transcript is aligned rather than when the
// program starts: the recognizer and the numeric libraries it pulls in weigh more than a
// play of a segment needs in all.
class TSphinxLibrary {
public:
    TSphinxLibrary() = default;
    ~TSphinxLibrary();
    TSphinxLibrary(const TSphinxLibrary&) = delete;
    TSphinxLibrary& operator=(const TSphinxLibrary&) = delete;

    // False with the reason when the library or one of its functions is missing.
    bool Load(std::string& error);

#define OLVE_SPHINX_POINTER(name) decltype(&::name) name = nullptr;
    OLVE_SPHINX_FUNCTIONS(OLVE_SPHINX_POINTER)
#undef OLVE_SPHINX_POINTER

private:
    void* FHandle = nullptr;
};

}  // namespace olve
