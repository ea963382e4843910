// A shown form on the headless back end, fresh for each test.
#pragma once

#include "ui/UI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetBackend(nullptr);
        Headless().Reset();
        Form = new TForm(nullptr);
        Form->Name = "Form";
        Form->SetClientSize(400, 300);
        Form->Show();
    }
    void TearDown() override
    {
        delete Form;
        Application->SetMainForm(nullptr);
        Headless().Reset();
    }
    static THeadlessBackend& Headless() { return Application->Headless(); }

    template <class T>
    T* Make(const std::string& name, TWinControl* parent = nullptr)
    {
        T* c = new T(Form);
        c->Name = name;
        c->SetParent(parent ? parent : Form);
        c->SetBounds(0, 0, 60, 20);
        return c;
    }

    TForm* Form = nullptr;
    std::vector<std::string> Log;
};
