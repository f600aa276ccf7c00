#include "FakePortvaneSystem.h"
#include "port/PortIo.h"
#include "port/PortvaneBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

const std::string DEVICE_PATH = "\\\\.\\Portvane";

// Checks that the steps logged by `fake` include `steps` in this order.
void ExpectOrder(const CFakePortvaneSystem& fake, const std::vector<std::string>& steps)
{
    int previous = -1;
    for (const auto& step : steps) {
        int found = -1;
        for (size_t i = static_cast<size_t>(previous + 1); i < fake.calls.size(); ++i)
            if (fake.calls[i].rfind(step, 0) == 0) {
                found = static_cast<int>(i);
                break;
            }
        EXPECT_GT(found, previous) << "missing or out of order: " << step;
        previous = std::max(previous, found);
    }
}

void ExpectNothingLeftOnDisk(const CFakePortvaneSystem& fake)
{
    EXPECT_TRUE(fake.files.empty()) << fake.files.begin()->first;
    EXPECT_TRUE(fake.folders.empty()) << *fake.folders.begin();
}

void ExpectNoHandlesLeft(const CFakePortvaneSystem& fake)
{
    EXPECT_TRUE(fake.openServiceHandles.empty());
    EXPECT_EQ(fake.Count("!"), 0);
}

} // namespace

TEST(PortvaneBackend, FirstStartInstallsTheServiceAndRemovesItAtClose)
{
    CFakePortvaneSystem fake;
    {
        CPortIo port(std::make_unique<CPortvaneBackend>(fake));
        ASSERT_TRUE(port.OpenDriver()) << port.GetLastError();
        auto* backend = static_cast<CPortvaneBackend*>(port.GetBackend());
        EXPECT_TRUE(backend->HasStartedService());

        ASSERT_TRUE(fake.service);
        const auto& config = fake.service->config;
        EXPECT_EQ(config.name, "Portvane");
        EXPECT_EQ(config.displayName, "Portvane");
        EXPECT_EQ(config.type, 1u);
        EXPECT_EQ(config.startType, 3u);
        EXPECT_EQ(config.errorControl, 1u);
        EXPECT_EQ(config.binaryPath.rfind(fake.tempFolder + "\\Portvane-", 0), 0u) << config.binaryPath;
        EXPECT_EQ(config.binaryPath.substr(config.binaryPath.size() - 13), "\\Portvane.sys");
        EXPECT_TRUE(fake.service->bRunning);
        EXPECT_EQ(fake.service->loadedImage, *fake.image);

        ExpectOrder(fake, {"CreatePrivateFolder", "OpenServiceManager", "OpenExistingService",
                           "WriteImageFile " + config.binaryPath, "OpenPortDevice " + DEVICE_PATH,
                           "CreateKernelService " + config.binaryPath, "StartDriverService",
                           "OpenPortDevice " + DEVICE_PATH, "DeleteImageFile " + config.binaryPath,
                           "RemovePrivateFolder"});
        EXPECT_EQ(fake.Count("ChangeServiceSettings"), 0);
        ExpectNothingLeftOnDisk(fake);
        fake.calls.clear();
    } // the port client's destructor closes what is still open
    ExpectOrder(fake, {"ClosePortDevice", "StopDriverService", "DeleteDriverService"});
    EXPECT_FALSE(fake.service);
    EXPECT_TRUE(fake.openDevices.empty());
    ExpectNoHandlesLeft(fake);
}

TEST(PortvaneBackend, StoppedServiceIsRepointedBeforeTheImageIsWritten)
{
    CFakePortvaneSystem fake;
    fake.service = CFakePortvaneSystem::RegisteredService("D:\\old\\Portvane.sys", false);
    fake.service->config.startType = 2;
    fake.service->config.displayName = "Something else";

    CPortvaneBackend backend(fake);
    std::string error;
    ASSERT_TRUE(backend.Open(error)) << error;
    EXPECT_TRUE(backend.HasStartedService());
    const auto& config = fake.service->config;
    EXPECT_EQ(config.binaryPath.rfind(fake.tempFolder, 0), 0u);
    EXPECT_EQ(config.startType, 3u);
    EXPECT_EQ(config.displayName, "Portvane");
    EXPECT_EQ(fake.service->loadedImage, *fake.image);
    ExpectOrder(fake, {"ChangeServiceSettings " + config.binaryPath, "WriteImageFile",
                       "OpenPortDevice", "CreateKernelService", "OpenExistingService",
                       "StartDriverService", "OpenPortDevice", "DeleteImageFile"});
    ExpectNothingLeftOnDisk(fake);

    backend.Close();
    EXPECT_FALSE(fake.service);
    ExpectNoHandlesLeft(fake);
}

TEST(PortvaneBackend, RunningServiceIsUsedAsItIsAndLeftRunning)
{
    CFakePortvaneSystem fake;
    fake.service = CFakePortvaneSystem::RegisteredService("D:\\other\\Portvane.sys", true);

    CPortvaneBackend backend(fake);
    std::string error;
    ASSERT_TRUE(backend.Open(error)) << error;
    EXPECT_FALSE(backend.HasStartedService());
    EXPECT_EQ(fake.Count("OpenPortDevice"), 1);
    EXPECT_EQ(fake.Count("CreateKernelService"), 0);
    EXPECT_EQ(fake.Count("StartDriverService"), 0);
    // Re-pointed all the same: the next start loads a fresh image.
    EXPECT_EQ(fake.Count("ChangeServiceSettings"), 1);
    ExpectNothingLeftOnDisk(fake);

    backend.Close();
    EXPECT_EQ(fake.Count("StopDriverService"), 0);
    EXPECT_EQ(fake.Count("DeleteDriverService"), 0);
    ASSERT_TRUE(fake.service);
    EXPECT_TRUE(fake.service->bRunning);
    EXPECT_TRUE(fake.openDevices.empty());
    ExpectNoHandlesLeft(fake);
}

TEST(PortvaneBackend, FailedSecondOpenStillRemovesWhatThisRunInstalled)
{
    struct Case {
        const char* what;
        bool bPreRegistered;
        uint32_t startError;
        const char* message;
    };
    for (const Case& c : {Case{"new service, unsigned", false, 577, "not signed"},
                          Case{"new service, wrong build", false, 193, "64-bit build"},
                          Case{"left-over service", true, 1275, "error 1275"}}) {
        SCOPED_TRACE(c.what);
        CFakePortvaneSystem fake;
        if (c.bPreRegistered)
            fake.service = CFakePortvaneSystem::RegisteredService("D:\\old\\Portvane.sys", false);
        fake.startError = c.startError;

        CPortIo port(std::make_unique<CPortvaneBackend>(fake));
        EXPECT_FALSE(port.OpenDriver());
        EXPECT_NE(port.GetLastError().find(c.message), std::string::npos) << port.GetLastError();
        // The flag stayed 1 after the second open failed, so the service
        // this run tried to start was stopped (it never ran) and deleted.
        EXPECT_EQ(fake.Count("OpenPortDevice"), 2);
        ExpectOrder(fake, {"StartDriverService", "OpenPortDevice", "DeleteImageFile",
                           "StopDriverService", "DeleteDriverService"});
        EXPECT_FALSE(fake.service);
        EXPECT_FALSE(static_cast<CPortvaneBackend*>(port.GetBackend())->HasStartedService());
        ExpectNothingLeftOnDisk(fake);
        ExpectNoHandlesLeft(fake);
        EXPECT_EQ(port.ReadPortByte(0x379), 0);
        EXPECT_TRUE(fake.controls.empty());
    }
}

TEST(PortvaneBackend, ImageFileIsGoneOnEveryPath)
{
    struct Case {
        const char* what;
        std::function<void(CFakePortvaneSystem&)> setUp;
        bool bOpens;
    };
    const std::vector<Case> cases = {
        {"no service", [](CFakePortvaneSystem&) {}, true},
        {"stopped service",
         [](CFakePortvaneSystem& f) { f.service = CFakePortvaneSystem::RegisteredService("x", false); }, true},
        {"running service",
         [](CFakePortvaneSystem& f) { f.service = CFakePortvaneSystem::RegisteredService("x", true); }, true},
        {"start refused", [](CFakePortvaneSystem& f) { f.startError = 1275; }, false},
        {"no administrator", [](CFakePortvaneSystem& f) { f.bManagerDenied = true; }, false},
        {"disk full", [](CFakePortvaneSystem& f) { f.bWriteFails = true; }, false},
        {"no image resource", [](CFakePortvaneSystem& f) { f.image.reset(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CFakePortvaneSystem fake;
        c.setUp(fake);
        CPortvaneBackend backend(fake);
        std::string error;
        EXPECT_EQ(backend.Open(error), c.bOpens) << error;
        EXPECT_EQ(error.empty(), c.bOpens) << error;
        ExpectNothingLeftOnDisk(fake);
        EXPECT_EQ(fake.Count("RemovePrivateFolder"), 1);
        backend.Close();
        ExpectNoHandlesLeft(fake);
    }
}

TEST(PortvaneBackend, AnImageTheRunningDriverHoldsIsRemovedOnceTheServiceStops)
{
    CFakePortvaneSystem fake;
    fake.bRunningImageHeld = true;
    CPortvaneBackend backend(fake);
    std::string error;
    ASSERT_TRUE(backend.Open(error)) << error;
    EXPECT_EQ(fake.files.size(), 1u);
    fake.calls.clear();
    backend.Close();
    ExpectOrder(fake, {"StopDriverService", "DeleteDriverService", "DeleteImageFile", "RemovePrivateFolder"});
    ExpectNothingLeftOnDisk(fake);
    ExpectNoHandlesLeft(fake);
}

TEST(PortvaneBackend, MessagesNameWhatTheUserCanDo)
{
    CFakePortvaneSystem denied;
    denied.bManagerDenied = true;
    CPortvaneBackend backend(denied);
    std::string error;
    EXPECT_FALSE(backend.Open(error));
    EXPECT_NE(error.find("administrator"), std::string::npos) << error;
    EXPECT_FALSE(denied.service);

    CFakePortvaneSystem old;
    old.bNtFamily = false;
    CPortvaneBackend oldBackend(old);
    EXPECT_FALSE(oldBackend.Open(error));
    EXPECT_NE(error.find("Windows NT"), std::string::npos) << error;
    EXPECT_EQ(old.calls, std::vector<std::string>{"IsNtFamily"});

    CFakePortvaneSystem noFolder;
    noFolder.bFolderFails = true;
    CPortvaneBackend noFolderBackend(noFolder);
    EXPECT_FALSE(noFolderBackend.Open(error));
    EXPECT_NE(error.find("temporary folder"), std::string::npos) << error;
    // Without an image there is nothing a service could load.
    EXPECT_EQ(noFolder.Count("CreateKernelService"), 0);
    EXPECT_EQ(noFolder.Count("ChangeServiceSettings"), 0);
}

TEST(PortvaneBackend, ImagePathNeverOutgrowsWhatWindowsAccepts)
{
    // "<temp>\Portvane-1\Portvane.sys": the temp folder plus 24 bytes.
    const size_t suffix = std::string("\\Portvane-1\\Portvane.sys").size();
    for (size_t length : {CPortvaneBackend::MAX_IMAGE_PATH_BYTES, CPortvaneBackend::MAX_IMAGE_PATH_BYTES + 1,
                          size_t{1000}}) {
        SCOPED_TRACE(length);
        CFakePortvaneSystem fake;
        fake.tempFolder = "C:\\" + std::string(length - suffix - 3, 'd');
        CPortvaneBackend backend(fake);
        std::string error;
        const bool bFits = length <= CPortvaneBackend::MAX_IMAGE_PATH_BYTES;
        EXPECT_EQ(backend.Open(error), bFits) << error;
        if (bFits) {
            EXPECT_EQ(fake.service->config.binaryPath.size(), length);
        } else {
            EXPECT_NE(error.find("too long"), std::string::npos) << error;
            EXPECT_EQ(fake.Count("WriteImageFile"), 0);
            EXPECT_EQ(fake.Count("CreateKernelService"), 0);
        }
        ExpectNothingLeftOnDisk(fake);
    }

    // A running service needs no image, however long the folder's name.
    CFakePortvaneSystem running;
    running.service = CFakePortvaneSystem::RegisteredService("x", true);
    running.tempFolder = "C:\\" + std::string(500, 'd');
    CPortvaneBackend backend(running);
    std::string error;
    EXPECT_TRUE(backend.Open(error)) << error;
    EXPECT_EQ(running.service->config.binaryPath, "x");
}

TEST(PortvaneBackend, ServiceThatWouldNotStopIsRepointedByTheNextRun)
{
    CFakePortvaneSystem fake;
    {
        CPortvaneBackend first(fake);
        std::string error;
        ASSERT_TRUE(first.Open(error)) << error;
        fake.bStopFails = true;
        first.Close();
        ASSERT_TRUE(fake.service);
        EXPECT_EQ(fake.Count("DeleteDriverService"), 0);
    }
    fake.bStopFails = false;
    fake.calls.clear();
    const std::string oldPath = fake.service->config.binaryPath;

    CPortvaneBackend second(fake);
    std::string error;
    ASSERT_TRUE(second.Open(error)) << error;
    EXPECT_FALSE(second.HasStartedService());
    EXPECT_NE(fake.service->config.binaryPath, oldPath);
    EXPECT_EQ(fake.Count("ChangeServiceSettings"), 1);
}

TEST(PortvaneBackend, EachRegisterAccessIsOneRoundTripWithTheRecord)
{
    CFakePortvaneSystem fake;
    CPortIo port(std::make_unique<CPortvaneBackend>(fake));
    EXPECT_EQ(port.ReadPortByte(0x379), 0);
    EXPECT_EQ(port.WritePortByte(0x378, 1), 0);
    EXPECT_TRUE(fake.controls.empty());

    ASSERT_TRUE(port.OpenDriver()) << port.GetLastError();
    EXPECT_EQ(port.WritePortByte(0x278, 0xC3), 1);
    EXPECT_EQ(port.ReadPortByte(0x279), 0x5A);
    ASSERT_EQ(fake.controls.size(), 2u);
    for (const auto& control : fake.controls) {
        EXPECT_EQ(control.inLength, 24u);
        EXPECT_EQ(control.outLength, 24u);
    }
    EXPECT_EQ(fake.controls[0].code, 0x22E004u);
    EXPECT_EQ(fake.controls[0].sent[0], 0x78);
    EXPECT_EQ(fake.controls[0].sent[1], 0x02);
    EXPECT_EQ(fake.controls[0].sent[4], 0xC3);
    EXPECT_EQ(fake.controls[1].code, 0x22E008u);
    EXPECT_EQ(fake.controls[1].sent[0], 0x79);
    EXPECT_EQ(fake.controls[1].sent[1], 0x02);

    // A request that fails goes unnoticed: the read gives what the record held.
    fake.onControl = [](uint32_t, void*, uint32_t, uint32_t, uint32_t&) { return false; };
    EXPECT_EQ(port.ReadPortByte(0x279), 0x5A);
}

TEST(PortvaneBackend, IdentificationIsReadIntoALargeEnoughBuffer)
{
    CFakePortvaneSystem fake;
    CPortvaneBackend backend(fake);
    EXPECT_FALSE(backend.ReadIdentification());

    std::string error;
    ASSERT_TRUE(backend.Open(error)) << error;
    fake.onControl = [](uint32_t code, void* buffer, uint32_t, uint32_t outLength, uint32_t& returned) {
        const char text[] = "Portvane Driver (sys)\nTest";
        if (code != 0x22E000 || outLength < sizeof text)
            return false;
        std::memcpy(buffer, text, sizeof text);
        returned = outLength;
        return true;
    };
    EXPECT_EQ(backend.ReadIdentification(), std::optional<std::string>("Portvane Driver (sys)\nTest"));
    EXPECT_EQ(fake.controls.back().inLength, 0u);

    fake.onControl = [](uint32_t, void*, uint32_t, uint32_t, uint32_t&) { return false; };
    EXPECT_FALSE(backend.ReadIdentification());
}
