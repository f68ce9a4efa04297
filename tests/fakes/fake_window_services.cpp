// Window services as the handlers see them: each request is recorded.
#include "app/window_services.h"
#include "fakes/fake_platform.h"

namespace pavrelin {

bool LoadWindow(Form window, std::optional<Form>, bool modal) {
  fake::World& world = fake::Get();
  world.calls.push_back("LoadWindow");
  world.loads.push_back({window, modal});
  return true;
}

void DestroyFormWindow(Form window) {
  fake::World& world = fake::Get();
  world.calls.push_back("DestroyFormWindow");
  world.destroy_requests.push_back(window);
}

bool ApplyXpSkin(int style) {
  fake::World& world = fake::Get();
  world.calls.push_back("ApplyXpSkin " + std::to_string(style));
  world.skin_styles.push_back(style);
  return style >= 1 && style <= 3;
}

void SetWiring(std::span<const Wiring>) {}

}  // namespace pavrelin
