// The local command channel's message reader: any text a web page or another program may send.
#include "commandmessage.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzsupport::bytes(data, size));
    const CommandMessage::Parsed parsed = CommandMessage::parse(text);
    // A message that is not JSON never carries a command.
    if (!parsed.error.isEmpty() && (parsed.triggerLogin || parsed.passwordResetToken || parsed.paymentStatus))
        __builtin_trap();
    return 0;
}
