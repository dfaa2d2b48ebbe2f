#include "uiservices.h"

namespace {
ApiClient *g_apiClient = nullptr;
const SecretProtector *g_protector = nullptr;
Shell *g_shell = nullptr;
} // namespace

namespace UiServices {

void setApiClient(ApiClient *client)
{
    g_apiClient = client;
}

ApiClient *apiClient()
{
    return g_apiClient;
}

void setSecretProtector(const SecretProtector *protector)
{
    g_protector = protector;
}

const SecretProtector *secretProtector()
{
    return g_protector;
}

void setShell(Shell *shell)
{
    g_shell = shell;
}

Shell *shell()
{
    return g_shell;
}

} // namespace UiServices
