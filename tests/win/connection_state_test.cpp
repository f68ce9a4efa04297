// The program's own connection probe, run by connection_state.sh inside a
// network namespace of its own, where the probe's fixed loopback port is free:
// first with loopback only (Windows sees no connection), then with a
// network card and a default route added (Windows sees one). Not run on its own.
#include "support/http_test_server.h"

#include <gtest/gtest.h>

#include "build_config.h"
#include "platform/internet.h"

namespace pavrelin {
namespace {

// The port and path of the build's probe address, "http://host:port/path".
const std::string kProbe = config::kProbeUrl;
const std::size_t kHostStart = kProbe.find("//") + 2;
const std::size_t kPathStart = kProbe.find('/', kHostStart);

unsigned short ProbePort() {
  const std::size_t colon = kProbe.find(':', kHostStart);
  if (colon == std::string::npos || colon > kPathStart) return 80;
  return static_cast<unsigned short>(std::stoi(kProbe.substr(colon + 1, kPathStart - colon - 1)));
}

class ConnectionState : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(portal_.ok()) << "port " << ProbePort() << " taken";
    portal_.Answer(kProbe.substr(kPathStart),
                   test::Page("portal is down", "HTTP/1.1 500 Internal Server Error"));
  }
  test::HttpTestServer portal_{ProbePort()};
};

TEST_F(ConnectionState, OfflineGivesFalseWithoutSendingAnything) {
  EXPECT_FALSE(ProbeInternetConnection());
  // The portal answers here, so the false came from the system's word alone.
  EXPECT_EQ(BytesToText(HttpReadResource(config::kProbeUrl)), "portal is down");
  EXPECT_EQ(portal_.ConnectionCount(), 1u) << "only the read above reached the portal";
}

TEST_F(ConnectionState, OnlineAnErrorPageStillMeansConnected) {
  EXPECT_TRUE(ProbeInternetConnection());
  const std::vector<std::string> requests = portal_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(test::RequestHeader(requests[0], "User-Agent"), "test");
}

}  // namespace
}  // namespace pavrelin
