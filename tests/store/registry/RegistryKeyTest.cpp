#include "store/registry/CRegistryKey.h"
#include "store/registry/RegistryException.h"
#include "tests/support/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quarvel {
namespace {

const std::string kKey = "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";

template <class Action>
RegistryException registryFailureOf(Action action) {
    try {
        action();
    } catch (const RegistryException& exception) {
        return exception;
    }
    ADD_FAILURE() << "no RegistryException was raised";
    return RegistryException("none", 0);
}

bool anyCallStartsWith(const test::MemoryRegistry& registry, const std::string& start) {
    return std::any_of(registry.calls().begin(), registry.calls().end(),
                       [&](const std::string& call) { return call.starts_with(start); });
}

TEST(Exception, GivesItsMessageAndSignedCode) {
    std::string text = "replaced";
    Exception("Failure opening key", 2).GetText(text);
    EXPECT_EQ(text, "Failure opening key: 2");
    RegistryException("Failure query value", -2147024891).GetText(text);
    EXPECT_EQ(text, "Failure query value: -2147024891");
}

TEST(Exception, IsCaughtAsItselfAsItsBaseAndByACatchAll) {
    try {
        throw RegistryException("Failure opening key", 5);
    } catch (const Exception& caught) {
        const Exception copy = caught;
        std::string text;
        copy.GetText(text);
        EXPECT_EQ(text, "Failure opening key: 5");
        EXPECT_NE(dynamic_cast<const RegistryException*>(&caught), nullptr);
    }
    bool caughtByAll = false;
    try {
        throw RegistryException("x", 1);
    } catch (...) {
        caughtByAll = true;
    }
    EXPECT_TRUE(caughtByAll);
}

class RegistryKeyTest : public testing::Test {
protected:
    std::string readValue(std::uint32_t type, const std::string& bytes) {
        m_registry.putValue(HKEY_LOCAL_MACHINE, kKey, "EXE Path", type, bytes);
        CRegistryKey key(m_registry);
        key.Open(HKEY_LOCAL_MACHINE, kKey, false);
        return key.QueryValue("EXE Path", "", false);
    }

    test::MemoryRegistry m_registry;
};

TEST_F(RegistryKeyTest, ReadsTextOfAnyLengthInTwoSteps) {
    const std::string folder =
        "C:\\Program Files\\Microsoft Games\\Flight Simulator 9" + std::string(5000, 'x');
    EXPECT_EQ(readValue(platform::kRegString, folder + '\0'), folder);
    const auto first =
        std::find(m_registry.calls().begin(), m_registry.calls().end(), "queryValue EXE Path size");
    ASSERT_NE(first, m_registry.calls().end());
    EXPECT_EQ(*(first + 1), "queryValue EXE Path buffer=" + std::to_string(folder.size() + 1));
}

TEST_F(RegistryKeyTest, ReadsAnEmptyValueAsEmptyText) {
    EXPECT_EQ(readValue(platform::kRegString, std::string(1, '\0')), "");
    EXPECT_EQ(readValue(platform::kRegString, ""), "");
}

TEST_F(RegistryKeyTest, ReadsTextStoredWithoutItsTerminatingZeroWhole) {
    EXPECT_EQ(readValue(platform::kRegString, "C:\\FS9"), "C:\\FS9");
}

TEST_F(RegistryKeyTest, ReadsOtherTypesAsTheirBytesUpToTheFirstZero) {
    EXPECT_EQ(readValue(platform::kRegBinary, std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(readValue(platform::kRegDword, std::string("A\0\0\0", 4)), "A");
    EXPECT_EQ(readValue(platform::kRegMultiString, std::string("one\0two\0\0", 9)), "one");
    EXPECT_EQ(readValue(platform::kRegExpandString, std::string("%ProgramFiles%\0", 15)), "%ProgramFiles%");
}

TEST_F(RegistryKeyTest, OpensWithFullAccessAndClosesOnce) {
    m_registry.putString(HKEY_LOCAL_MACHINE, kKey, "EXE Path", "C:\\FS9");
    {
        CRegistryKey key(m_registry);
        key.Open(HKEY_LOCAL_MACHINE, kKey, false);
        EXPECT_NE(key.handle(), kNullKey);
        EXPECT_EQ(m_registry.calls().front(), "openKey " + kKey + " access=f003f");
        EXPECT_TRUE(key.Close());
        EXPECT_EQ(key.handle(), kNullKey);
    }
    EXPECT_EQ(std::count_if(m_registry.calls().begin(), m_registry.calls().end(),
                            [](const std::string& call) { return call.starts_with("closeKey"); }),
              1);
    EXPECT_EQ(m_registry.openKeyCount(), 0U);
}

TEST_F(RegistryKeyTest, AMissingKeyRaisesWithStatusTwoAndIsNeverQueried) {
    CRegistryKey key(m_registry);
    const RegistryException failure = registryFailureOf([&] { key.Open(HKEY_LOCAL_MACHINE, kKey, false); });
    EXPECT_EQ(failure.m_strMessage, "Failure opening key");
    EXPECT_EQ(failure.m_nCode, 2);
    EXPECT_EQ(key.handle(), kNullKey);
    EXPECT_FALSE(anyCallStartsWith(m_registry, "queryValue"));
}

TEST_F(RegistryKeyTest, RefusedAccessRaisesWithStatusFive) {
    m_registry.refuseAccess(HKEY_LOCAL_MACHINE, kKey);
    CRegistryKey key(m_registry);
    const RegistryException failure = registryFailureOf([&] { key.Open(HKEY_LOCAL_MACHINE, kKey, false); });
    EXPECT_EQ(failure.m_strMessage, "Failure opening key");
    EXPECT_EQ(failure.m_nCode, 5);
}

TEST_F(RegistryKeyTest, AMissingValueRaisesAndTheDestructorClosesTheKey) {
    m_registry.addKey(HKEY_LOCAL_MACHINE, kKey);
    {
        CRegistryKey key(m_registry);
        key.Open(HKEY_LOCAL_MACHINE, kKey, false);
        const RegistryException failure = registryFailureOf([&] { key.QueryValue("EXE Path", "", false); });
        EXPECT_EQ(failure.m_strMessage, "Failure query value");
        EXPECT_EQ(failure.m_nCode, 2);
        EXPECT_EQ(m_registry.openKeyCount(), 1U);
    }
    EXPECT_EQ(m_registry.openKeyCount(), 0U);
}

TEST_F(RegistryKeyTest, AKeyNeverOpenedOrAlreadyClosedMakesNoCallWhenDestroyed) {
    { const CRegistryKey neverOpened(m_registry); }
    EXPECT_TRUE(m_registry.calls().empty());
    m_registry.addKey(HKEY_LOCAL_MACHINE, kKey);
    {
        CRegistryKey key(m_registry);
        key.Open(HKEY_LOCAL_MACHINE, kKey, false);
        ASSERT_TRUE(key.Close());
        EXPECT_EQ(m_registry.calls().size(), 2U);
    }
    EXPECT_EQ(m_registry.calls().size(), 2U);
}

TEST_F(RegistryKeyTest, AFailedCloseKeepsTheHandleAndTheDestructorTriesAgain) {
    m_registry.addKey(HKEY_LOCAL_MACHINE, kKey);
    {
        CRegistryKey key(m_registry);
        key.Open(HKEY_LOCAL_MACHINE, kKey, false);
        const HKEY opened = key.handle();
        m_registry.answerClosesWith(kRegistryInvalidHandle);
        EXPECT_FALSE(key.Close());
        EXPECT_EQ(key.handle(), opened);
        m_registry.answerClosesWith(kRegistrySuccess);
    }
    EXPECT_EQ(m_registry.openKeyCount(), 0U);
    EXPECT_EQ(m_registry.calls().back(), "closeKey 1");
}

TEST_F(RegistryKeyTest, CreatesAMissingKeyWhenAskedTo) {
    CRegistryKey key(m_registry);
    key.Open(HKEY_CURRENT_USER, "Software\\Quarvel", true);
    EXPECT_NE(key.handle(), kNullKey);
    EXPECT_EQ(m_registry.calls()[1], "createKey Software\\Quarvel");
    m_registry.refuseAccess(HKEY_CURRENT_USER, "Software\\Locked");
    const RegistryException failure =
        registryFailureOf([&] { key.Open(HKEY_CURRENT_USER, "Software\\Locked", true); });
    EXPECT_EQ(failure.m_strMessage, "Failure creating key");
    EXPECT_EQ(failure.m_nCode, 5);
}

TEST_F(RegistryKeyTest, WritesTheDefaultOfAMissingValueWhenAskedTo) {
    CRegistryKey key(m_registry);
    key.Create(HKEY_CURRENT_USER, "Software\\Quarvel", nullptr, 0);
    EXPECT_EQ(key.QueryValue("Folder", "C:\\FS9", true), "C:\\FS9");
    // Text is written without a terminating zero byte.
    ASSERT_NE(m_registry.valueBytes(HKEY_CURRENT_USER, "Software\\Quarvel", "Folder"), nullptr);
    EXPECT_EQ(*m_registry.valueBytes(HKEY_CURRENT_USER, "Software\\Quarvel", "Folder"), "C:\\FS9");
    EXPECT_EQ(key.QueryValue("Folder", "other", false), "C:\\FS9");
}

TEST_F(RegistryKeyTest, AWriteThatFailsRaises) {
    CRegistryKey key(m_registry);
    const RegistryException failure = registryFailureOf([&] { key.SetValue("Folder", "x"); });
    EXPECT_EQ(failure.m_strMessage, "Failure creating value");
    EXPECT_EQ(failure.m_nCode, kRegistryInvalidHandle);
}

TEST_F(RegistryKeyTest, OpeningAnotherKeyClosesTheOneHeld) {
    m_registry.addKey(HKEY_LOCAL_MACHINE, kKey);
    m_registry.addKey(HKEY_CURRENT_USER, "Software");
    CRegistryKey key(m_registry);
    key.Open(HKEY_LOCAL_MACHINE, kKey, false);
    key.Open(HKEY_CURRENT_USER, "Software", false);
    EXPECT_EQ(m_registry.openKeyCount(), 1U);
}

} // namespace
} // namespace quarvel
