// Forms of the controls tests read from text forms, as a form resource would be read.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "MessagePump.h"
#include "framework/controls/Form.h"
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

// Frees a form (its OnDestroy first, then its window) and handles the messages that follow.
inline void FreeForm(TForm* form) {
    form->BeforeDestruction();
    delete form;
    PumpPendingMessages();
}

// The text form of a component written through the binary format, as a form resource holds it.
inline std::string TextFormOf(TComponent* root) {
    TMemoryStream binary;
    WriteComponent(binary, root);
    binary.SetPosition(0);
    return ObjectBinaryToText(binary);
}

// A fixture whose form of class F is read from FormText() and shown before each test, and freed
// (OnDestroy first) after it.
template <class F>
struct ShownTextForm : ::testing::Test {
    void SetUp() override {
        form = ReadTextForm<F>(FormText());
        form->Show();
        PumpPendingMessages();
    }
    void TearDown() override { FreeForm(form); }
    virtual std::string FormText() const = 0;
    F* form = nullptr;
};
