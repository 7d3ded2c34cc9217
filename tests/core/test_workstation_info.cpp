#include "core/WorkStationInfo.h"

#include <QSysInfo>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A workstation service whose answers the test sets; each call can fail.
class FakeService : public WorkStationService {
public:
    std::optional<WorkstationRecord> workstation;
    std::optional<WorkstationUserRecord> user;

    std::optional<WorkstationRecord> workstationInfo() const override { return workstation; }
    std::optional<WorkstationUserRecord> userInfo() const override { return user; }
};

} // namespace

TEST(WorkStationInfo, WithoutAServiceEverythingStaysEmpty)
{
    WorkStationInfo info(nullptr);
    info.Refresh();
    EXPECT_TRUE(info.ComputerName().isEmpty());
    EXPECT_TRUE(info.UserName().isEmpty());
    EXPECT_EQ(info.PlatformId(), 0);
    EXPECT_EQ(info.LoggedOnUsers(), 0);
}

TEST(WorkStationInfo, AFailedCallLeavesItsPropertiesAsTheyWere)
{
    auto service = std::make_shared<FakeService>();
    service->user = WorkstationUserRecord {"admin", "EXAMPLE", "", "\\\\DC1"};
    WorkStationInfo info(service);   // creation reads both records
    EXPECT_TRUE(info.ComputerName().isEmpty());
    EXPECT_EQ(info.UserName(), "admin");
    EXPECT_EQ(info.LogonServer(), "\\\\DC1");

    service->workstation = WorkstationRecord {500, "VELMO01", "EXAMPLE", 10, 0, "C:\\WINDOWS", 3};
    info.Refresh();
    EXPECT_EQ(info.ComputerName(), "VELMO01");
    EXPECT_EQ(info.LoggedOnUsers(), 3);
    service->workstation.reset();
    service->user.reset();
    info.Refresh();
    EXPECT_EQ(info.ComputerName(), "VELMO01");
    EXPECT_EQ(info.UserName(), "admin");
}

TEST(LinuxWorkStationService, DomainFromTheHostNameElseFromResolvConf)
{
    EXPECT_EQ(LinuxWorkStationService::domainFor("velmo01.corp.example.com", "search other.net"),
              "corp.example.com");
    EXPECT_EQ(LinuxWorkStationService::domainFor("velmo01", "nameserver 10.0.0.1\nsearch lab.example.com example.com\n"),
              "lab.example.com");
    // "domain" and "search" exclude each other: the last one wins.
    EXPECT_EQ(LinuxWorkStationService::domainFor("velmo01", "domain first.org\nsearch second.org third.org"),
              "second.org");
    EXPECT_EQ(LinuxWorkStationService::domainFor("velmo01", "search a.org\n  domain\tb.org."), "b.org");
    EXPECT_EQ(LinuxWorkStationService::domainFor("velmo01", "# search commented.org\nnameserver 1.1.1.1"), "");
}

TEST(LinuxWorkStationService, AnswersFromThisHost)
{
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    WorkStationInfo info;
    EXPECT_EQ(info.ComputerName(), QString::fromLocal8Bit(host).section(u'.', 0, 0));
    EXPECT_EQ(info.LanRoot(), "/");
    EXPECT_EQ(QString::number(info.VerMajor()), QSysInfo::kernelVersion().section(u'.', 0, 0));
    EXPECT_FALSE(info.UserName().isEmpty());
    EXPECT_EQ(info.LogonDomain(), info.ComputerName());
}
