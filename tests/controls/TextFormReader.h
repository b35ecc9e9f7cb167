// Forms of the controls tests read from text forms, as a form resource would be read.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "MessagePump.h"
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

// A fixture whose form of class F is read from FormText() and shown before each test, and freed
// (OnDestroy first) after it.
template <class F>
struct ShownTextForm : ::testing::Test {
    void SetUp() override {
        form = ReadTextForm<F>(FormText());
        form->Show();
        PumpPendingMessages();
    }
    void TearDown() override {
        form->BeforeDestruction();
        delete form;
        PumpPendingMessages();
    }
    virtual std::string FormText() const = 0;
    F* form = nullptr;
};
