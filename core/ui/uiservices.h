#pragma once

class ApiClient;
class SecretProtector;
class Shell;

// The services the window's C++ helpers reach: filled once by main.cpp (or a test runner) before the
// root document loads. QML-created helpers (the authentication controller, the country list, the
// settings object) read them when they are built. Nothing here is owned.
namespace UiServices {

void setApiClient(ApiClient *client);
[[nodiscard]] ApiClient *apiClient();

void setSecretProtector(const SecretProtector *protector);
[[nodiscard]] const SecretProtector *secretProtector();

// Where the helpers' messages go (the window's UiShell in the program).
void setShell(Shell *shell);
[[nodiscard]] Shell *shell();

} // namespace UiServices
