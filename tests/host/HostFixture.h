#pragma once
// The real DLL loaded with its one alias, as every host test starts.
#include "PluginHost.h"

#include <gtest/gtest.h>

const wchar_t kAlias[] = L"brc";

class Host : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Load(PluginPath()));
        ASSERT_EQ(0, m_host.OnLoad(kAlias));
    }
    void TearDown() override {
        if (m_host.Module())
            m_host.OnUnload(kAlias);
    }

    // A brcWhatIs call text of the alias; its answer comes back under the
    // key resultKey.
    static std::wstring WhatIs(const std::wstring& company, const std::wstring& identifier = L"",
                               const std::wstring& resultKey = L"answer") {
        return CallText(kAlias, L"brcWhatIs", identifier,
                        {{L"company_name", company},
                         {L"information_query", L"companyname"},
                         {L"result", resultKey}});
    }

    CPluginHost m_host;
};
