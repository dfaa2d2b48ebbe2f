#include "pages.h"

#include "images.h"

namespace demo::pages {

namespace {

const char *const kStyle = R"(
body { margin: 0; font-family: Roboto, Arial, sans-serif; color: #222; background: #f3f5f8; }
header { background: #ffffff; border-bottom: 1px solid #dde3ea; padding: 12px 32px; display: flex;
         align-items: center; gap: 24px; }
header img { height: 40px; }
nav a { color: #0060b2; text-decoration: none; margin-right: 16px; }
main { max-width: 860px; margin: 32px auto; background: #fff; padding: 24px 40px; border-radius: 8px;
       box-shadow: 0 1px 4px rgba(0,0,0,0.08); }
h1 { color: #0060b2; }
table { border-collapse: collapse; width: 100%; }
td, th { border-bottom: 1px solid #e5e9ee; padding: 8px; text-align: left; }
button { background: #0060b2; color: #fff; border: 0; border-radius: 4px; padding: 12px 32px; font-size: 18px;
         cursor: pointer; }
button:disabled { background: #9e9e9e; cursor: default; }
.note { color: #616161; }
footer { text-align: center; color: #9e9e9e; padding: 24px; font-size: 14px; }
)";

struct Info {
    const char *path;
    const char *title;
    const char *body;
};

const Info kInfoPages[] = {
    {"/", "Vantorix - cloud desktops by the hour",
     "<h1>Your desktop in the cloud</h1><p>Windows and Linux computers that run in our data centre and "
     "that you reach from anywhere with Remote Desktop. Pay only for the hours you use.</p>"
     "<p><a href=\"/download\">Download the desktop app</a> or read the <a href=\"/faq\">FAQ</a>.</p>"},
    {"/faq", "Frequently asked questions",
     "<h1>Frequently asked questions</h1><h3>What is a credit?</h3><p>One credit is one euro.</p>"
     "<h3>Do stopped machines cost anything?</h3><p>A small idle rate covers the storage of a stopped "
     "machine. Deleted machines cost nothing.</p><h3>What is a spot machine?</h3><p>A cheaper machine "
     "without guaranteed uptime: it may be stopped when the capacity is needed elsewhere.</p>"},
    {"/download", "Download",
     "<h1>Download the desktop app</h1><p>The app runs on Windows and Linux. Sign in with your account to "
     "manage your machines.</p><p class=\"note\">This demo service has no downloads.</p>"},
    {"/pricing", "Pricing",
     "<h1>Pricing</h1><table><tr><th>Machine</th><th>Regular</th><th>Spot</th></tr>"
     "<tr><td>Windows Standard</td><td>0.35 credits/h</td><td>0.14 credits/h</td></tr>"
     "<tr><td>Windows Performance</td><td>1.20 credits/h</td><td>0.48 credits/h</td></tr>"
     "<tr><td>Linux Standard</td><td>0.20 credits/h</td><td>0.08 credits/h</td></tr>"
     "<tr><td>Linux GPU</td><td>0.95 credits/h</td><td>0.38 credits/h</td></tr></table>"
     "<p class=\"note\">Stopped machines: 0.01 credits/h. VAT is added where it applies.</p>"},
    {"/about-us", "About us",
     "<h1>About us</h1><p>Vantorix is a small team that believes a powerful computer should be a click "
     "away, for the hours you need it.</p>"},
    {"/contact", "Contact",
     "<h1>Contact</h1><p>Write to <a href=\"mailto:support@vantorix.example\">support@vantorix.example</a>. "
     "We answer within one working day.</p>"},
    {"/terms-of-service/", "Terms of service",
     "<h1>Terms of service</h1><p>By using the service you agree to pay for the resources you use, at the "
     "prices shown on the pricing page, and to follow the acceptable use policy.</p>"},
    {"/acceptable-use-policy/", "Acceptable use policy",
     "<h1>Acceptable use policy</h1><p>No spam, no attacks on other systems, no mining of crypto currencies, "
     "nothing unlawful.</p>"},
    {"/privacy-policy/", "Privacy policy",
     "<h1>Privacy policy</h1><p>We store what we need to run your account and bill you: your name, e-mail "
     "address, billing details and the activity of your machines. We never sell your data.</p>"},
};

} // namespace

QString layout(const QString &title, const QString &body, const QString &script)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                                  "<title>%1</title><style>%2</style></head><body>")
                       .arg(title.toHtmlEscaped(), QLatin1String(kStyle));
    html +=
        QStringLiteral("<header><img src=\"/wp-content/uploads/logo/Vantorix-APP-Logo.svg\" alt=\"Vantorix\">"
                       "<nav><a href=\"/\">Home</a><a href=\"/pricing\">Pricing</a><a href=\"/faq\">FAQ</a>"
                       "<a href=\"/download\">Download</a><a href=\"/about-us\">About us</a>"
                       "<a href=\"/contact\">Contact</a></nav></header>");
    html += QStringLiteral("<main>") + body + QStringLiteral("</main>");
    html += QStringLiteral("<footer><a href=\"/terms-of-service/\">Terms of service</a> | "
                           "<a href=\"/acceptable-use-policy/\">Acceptable use policy</a> | "
                           "<a href=\"/privacy-policy/\">Privacy policy</a><br>Demo service</footer>");
    if (!script.isEmpty())
        html += QStringLiteral("<script>") + script + QStringLiteral("</script>");
    html += QStringLiteral("</body></html>\n");
    return html;
}

QString sendToAppScript(quint16 commandPort, const QString &messageJson)
{
    QString safe = messageJson;
    safe.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    return QStringLiteral(
               "function sendToApp(message) {\n"
               "  var status = document.getElementById('app-status');\n"
               "  try {\n"
               "    var socket = new WebSocket('ws://localhost:%1');\n"
               "    socket.onopen = function () { socket.send(JSON.stringify(message)); socket.close();\n"
               "      if (status) status.textContent = 'The Vantorix app has been told.'; };\n"
               "    socket.onerror = function () {\n"
               "      if (status) status.textContent = 'Open the Vantorix app to continue there.'; };\n"
               "  } catch (e) { if (status) status.textContent = 'Open the Vantorix app to continue there.'; "
               "}\n"
               "}\n"
               "var appMessage = %2;\n")
        .arg(commandPort)
        .arg(safe);
}

std::optional<HttpReply> infoPage(const QString &path)
{
    for (const Info &info : kInfoPages) {
        const QString known = QLatin1String(info.path);
        // Tolerate a missing or extra trailing slash, as web servers usually redirect.
        if (path == known ||
            (known.size() > 1 && (path + QLatin1Char('/') == known || path == known + QLatin1Char('/'))))
            return HttpReply::html(layout(QLatin1String(info.title), QLatin1String(info.body)));
    }
    return std::nullopt;
}

std::optional<HttpReply> serve(DemoState &state, const QString &method, const QString &path, const QString &)
{
    if (method == QLatin1String("GET")) {
        if (auto page = infoPage(path))
            return page;
        if (path == QLatin1String("/wp-content/uploads/logo/Vantorix-APP-Logo.svg"))
            return HttpReply::binary(images::logoSvg(false), "image/svg+xml");
        if (path == QLatin1String("/wp-content/uploads/logo/Vantorix-APP-Logo-Dark.svg"))
            return HttpReply::binary(images::logoSvg(true), "image/svg+xml");
        if (path.startsWith(QLatin1String("/banners/"))) {
            const QString file = path.mid(9);
            const QByteArray data = images::banner(file);
            if (data.isEmpty())
                return HttpReply::notFound();
            return HttpReply::binary(data, file.endsWith(QLatin1String(".gif")) ? "image/gif" : "image/png");
        }
    }
    return loopPage(state, method, path);
}

} // namespace demo::pages
