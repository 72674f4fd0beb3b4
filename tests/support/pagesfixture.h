#pragma once
// Every page test starts with no page created and counts program ends instead
// of ending the test program.

#include "app/form1.h"
#include "gui/framework/pagedirectory.h"
#include "gui/framework/programend.h"
#include "gui/viewer/form22.h"
#include "gui/wizard/wizardpages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        destroyPages();
        setProgramEndAction([this] { ++ends; });
    }
    void TearDown() override {
        destroyPages();
        setProgramEndAction({});
    }
    int ends = 0;
};
