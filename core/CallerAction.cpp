#include "core/CallerAction.h"

#include "core/Errors.h"

QString firstCallerInputRefusal(int count, const std::function<int(int element)>& refusalOf,
                                const std::function<QString(int element, int refusal)>& message)
{
    for (int element = 0; element < count; ++element) {
        int refusal = 0;
        try {
            refusal = refusalOf(element);
        } catch (const OptionsSnapshot::UnknownName&) {
            continue;
        } catch (const KestraneError&) {
            continue;
        }
        if (refusal != 0)
            return message(element, refusal);
    }
    return {};
}
