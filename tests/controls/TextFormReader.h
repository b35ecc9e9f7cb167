// Forms of the controls tests read from text forms, as a form resource would be read.
#pragma once

#include <string>

#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"

// A new form of class F (no owner) filled from the text form; the caller frees it.
template <class F>
F* ReadTextForm(const std::string& text) {
    TMemoryStream stream;
    ObjectTextToBinary(text, stream);
    stream.SetPosition(0);
    auto* form = new F(nullptr);
    try {
        ReadComponentRes(stream, form);
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}
