// Connection points: advising and unadvising sinks with their cookies,
// enumerating them, and FireEvent calling the sinks of the main points.
#include <gtest/gtest.h>

#include "host/shell/connection_point.h"
#include "host/shell/tests/recording_sink.h"
#include "platform/framework/dispatch.h"

namespace {

class ConnectionPointTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        container = new CConnectionPointContainer();
        container->AddRef();
        main = container->AddConnectionPoint(IID_IDispatch, kMainEventGroup);
        ASSERT_NE(main, nullptr);
    }
    void TearDown() override
    {
        if (container != nullptr) {
            container->Release();
        }
    }

    std::vector<std::string> log;
    RecordingSink first{log, "first"};
    RecordingSink second{log, "second"};
    RecordingSink addinSink{log, "addin"};
    CConnectionPointContainer* container = nullptr;
    CConnectionPoint* main = nullptr;
};

TEST_F(ConnectionPointTest, CookiesCountUpFrom101AndAreNotUsedAgain)
{
    DWORD a = 0;
    DWORD b = 0;
    DWORD c = 0;
    ASSERT_EQ(main->Advise(&first, &a), S_OK);
    ASSERT_EQ(main->Advise(&second, &b), S_OK);
    EXPECT_EQ(a, 101u);
    EXPECT_EQ(b, 102u);
    EXPECT_EQ(main->Unadvise(b), S_OK);
    ASSERT_EQ(main->Advise(&second, &c), S_OK);
    EXPECT_EQ(c, 103u);

    EXPECT_EQ(main->Unadvise(0), E_INVALIDARG);
    EXPECT_EQ(main->Unadvise(999), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(main->Unadvise(b), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(main->SinkCount(), 2u);
}

TEST_F(ConnectionPointTest, AdviseKeepsOneReferenceUntilUnadviseAndRefusesASinkWithoutTheInterface)
{
    DWORD cookie = 0;
    ASSERT_EQ(main->Advise(&first, &cookie), S_OK);
    EXPECT_EQ(first.references, 1u);
    EXPECT_EQ(main->Unadvise(cookie), S_OK);
    EXPECT_EQ(first.references, 0u);

    first.answersDispatch = false;
    EXPECT_EQ(main->Advise(&first, &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(main->SinkCount(), 0u);
}

TEST_F(ConnectionPointTest, EnumeratingWithoutSinksFailsAndWithSinksGivesThemInAdviseOrder)
{
    IEnumConnections* connections = reinterpret_cast<IEnumConnections*>(0x1);
    EXPECT_EQ(main->EnumConnections(&connections), OLE_E_NOCONNECTION);
    EXPECT_EQ(connections, nullptr);

    DWORD a = 0;
    DWORD b = 0;
    main->Advise(&first, &a);
    main->Advise(&second, &b);
    ASSERT_EQ(main->EnumConnections(&connections), S_OK);
    CONNECTDATA data[3]{};
    ULONG fetched = 0;
    EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(data[0].pUnk, static_cast<IUnknown*>(&first));
    EXPECT_EQ(data[0].dwCookie, a);
    EXPECT_EQ(data[1].pUnk, static_cast<IUnknown*>(&second));
    EXPECT_EQ(data[1].dwCookie, b);
    data[0].pUnk->Release();
    data[1].pUnk->Release();
    EXPECT_EQ(connections->Next(1, data, nullptr), S_FALSE);
    EXPECT_EQ(connections->Skip(1), S_FALSE);
    EXPECT_EQ(connections->Reset(), S_OK);
    EXPECT_EQ(connections->Skip(1), S_OK);
    connections->Release();
    // Only the point's own references are left.
    EXPECT_EQ(first.references, 1u);
    EXPECT_EQ(second.references, 1u);
}

TEST_F(ConnectionPointTest, AddingAPointTwiceGivesNullAndFindingTheInterfaceGivesTheMainPoint)
{
    EXPECT_EQ(container->AddConnectionPoint(IID_IDispatch, kMainEventGroup), nullptr);
    CConnectionPoint* addinPoint = container->AddConnectionPoint(IID_IDispatch, 0);
    ASSERT_NE(addinPoint, nullptr);
    EXPECT_EQ(container->Find(IID_IDispatch, 0), addinPoint);
    EXPECT_EQ(container->GetCount(), 2u);

    IConnectionPoint* found = nullptr;
    ASSERT_EQ(container->FindConnectionPoint(IID_IDispatch, &found), S_OK);
    EXPECT_EQ(found, static_cast<IConnectionPoint*>(main));
    found->Release();
    EXPECT_EQ(container->FindConnectionPoint(IID_IUnknown, &found), E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
}

TEST_F(ConnectionPointTest, FireEventCallsTheMainPointsSinksInAdviseOrderWithTheArguments)
{
    CConnectionPoint* addinPoint = container->AddConnectionPoint(IID_IDispatch, 0);
    DWORD cookie = 0;
    addinPoint->Advise(&addinSink, &cookie);
    main->Advise(&first, &cookie);
    main->Advise(&second, &cookie);
    IUnknown* object = &first;
    first.names = {{object, "(object)"}};
    second.names = first.names;

    EXPECT_EQ(container->FireEvent(6, VTS_PUNKNOWN, {&object}), S_OK);
    EXPECT_EQ(container->FireEvent(12, VTS_I4 VTS_I4, {LONG{5}, LONG{7}}), S_OK);
    EXPECT_EQ(log, (std::vector<std::string>{"first 6 (object)", "second 6 (object)", "first 12 5 7", "second 12 5 7"}));
    // Every reference the call took is given back.
    EXPECT_EQ(first.references, 1u);
    EXPECT_EQ(second.references, 1u);
}

TEST_F(ConnectionPointTest, FireEventFailsWithoutSinksAndWithArgumentsThatDoNotFitTheTypes)
{
    EXPECT_EQ(container->FireEvent(0, VTS_NONE), E_FAIL);
    DWORD cookie = 0;
    main->Advise(&first, &cookie);
    IUnknown* object = &first;
    EXPECT_EQ(container->FireEvent(0, VTS_PUNKNOWN, {object}), E_INVALIDARG);
    EXPECT_EQ(container->FireEvent(0, VTS_PUNKNOWN, {}), E_INVALIDARG);
    EXPECT_TRUE(log.empty());
}

TEST_F(ConnectionPointTest, ASinkThatStopsAnsweringIDispatchIsSkippedAndOneThatLeavesDuringTheCallEndsNobodyElse)
{
    DWORD firstCookie = 0;
    DWORD cookie = 0;
    main->Advise(&first, &firstCookie);
    main->Advise(&second, &cookie);
    first.answersDispatch = false;
    EXPECT_EQ(container->FireEvent(3, VTS_NONE), S_OK);
    EXPECT_EQ(log, (std::vector<std::string>{"second 3"}));

    log.clear();
    first.answersDispatch = true;
    first.onInvoke = [&] { main->Unadvise(firstCookie); };
    EXPECT_EQ(container->FireEvent(4, VTS_NONE), S_OK);
    EXPECT_EQ(log, (std::vector<std::string>{"first 4", "second 4"}));
    EXPECT_EQ(first.references, 0u);
}

TEST_F(ConnectionPointTest, APointHeldAfterItsContainerIsGoneStaysUsableAndReleasesItsSinksAtItsEnd)
{
    DWORD cookie = 0;
    main->Advise(&first, &cookie);
    main->AddRef();
    container->Release();
    container = nullptr;
    IConnectionPointContainer* owner = nullptr;
    EXPECT_EQ(main->GetConnectionPointContainer(&owner), E_UNEXPECTED);
    EXPECT_EQ(owner, nullptr);
    IID iid{};
    EXPECT_EQ(main->GetConnectionInterface(&iid), S_OK);
    EXPECT_EQ(iid, IID_IDispatch);
    EXPECT_EQ(first.references, 1u);
    main->Release();
    EXPECT_EQ(first.references, 0u);
}

} // namespace
