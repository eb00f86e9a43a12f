// Service descriptions, set from Windows 2000 on, in the prefix's service
// manager.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ktutil.h"
#include "support/kt_test_support.h"

namespace {

std::string Description(SC_HANDLE service) {
  alignas(8) char buffer[2048];
  DWORD needed = 0;
  if (!QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION,
                            reinterpret_cast<BYTE *>(buffer), sizeof buffer, &needed))
    return "(unreadable)";
  const char *text = reinterpret_cast<SERVICE_DESCRIPTIONA *>(buffer)->lpDescription;
  return text != nullptr ? text : "";
}

TEST(ServiceDescriptions, TheProductsTwoServicesGetTheirsFromWindows2000On) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ASSERT_NE(manager, nullptr);
  // Made here when missing (a run that died leaves them), removed at the end.
  const char *const names[] = {"ktmon", "minilog", "kt_other_service"};
  SC_HANDLE services[3];
  for (int i = 0; i < 3; ++i) {
    services[i] = OpenServiceA(manager, names[i], SERVICE_ALL_ACCESS);
    if (services[i] == nullptr)
      services[i] = CreateServiceA(manager, names[i], names[i], SERVICE_ALL_ACCESS,
                                   SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                   SERVICE_ERROR_IGNORE, "C:\\kt-none.exe", nullptr,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(services[i], nullptr) << names[i];
  }
  SC_HANDLE readOnly = OpenServiceA(manager, "minilog", SERVICE_QUERY_CONFIG);
  // The name picks the text; the handle, the service.
  const struct {
    SC_HANDLE service;
    const char *name;
    DWORD result;
    UINT text;
  } cases[] = {
      {services[0], "ktmon", 0, 30},
      {services[1], "MiniLog", 0, 29},
      {services[2], "kt_other_service", ERROR_RESOURCE_NAME_NOT_FOUND, 0},
      {services[2], "KTMON", 0, 30},
      {readOnly, "minilog", ERROR_ACCESS_DENIED, 0},
      {nullptr, "ktmon", ERROR_INVALID_HANDLE, 0},
  };
  for (const auto &c : cases) {
    SERVICE_DESCRIPTIONA unset = {const_cast<char *>("unset")};
    ChangeServiceConfig2A(c.service, SERVICE_CONFIG_DESCRIPTION, &unset);
    char text[1024] = "unset";
    if (c.text != 0) LoadStringA(kttest::KtModule(), c.text, text, sizeof text);
    // Before Windows 2000 nothing is touched.
    EXPECT_EQ(KTChangeServiceDesc(c.service, c.name), IsWin2K() ? c.result : 0) << c.name;
    if (c.service != nullptr && c.service != readOnly) {
      EXPECT_EQ(Description(c.service), IsWin2K() ? text : "unset") << c.name;
    }
  }
  CloseServiceHandle(readOnly);
  for (SC_HANDLE service : services) {
    DeleteService(service);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

}  // namespace
