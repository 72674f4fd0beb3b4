#pragma once
// Every page test starts with no page created and counts program ends instead
// of ending the test program.

#include "app/pageregistry.h"
#include "app/programend.h"

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
