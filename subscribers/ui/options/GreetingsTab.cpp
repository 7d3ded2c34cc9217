// The Greetings tab: the tab control `tabGreetings`, one tab per greeting.
#include "subscribers/ui/options/GreetingPage.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "resources/EnglishStrings.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace SubscriberOptions {
namespace {

constexpr std::array<CaptionRow, GreetingPage::GreetingCount> greetingTabCaptions{{
    {"tabGreetings", 0, 250},
    {"tabGreetings", 1, 101},
    {"tabGreetings", 2, 78},
    {"tabGreetings", 3, 44},
    {"tabGreetings", 4, 160},
    {"tabGreetings", 5, 120},
}};

void buildGreetingsTab(QWidget* page)
{
    auto* greetings = named(new QTabWidget, "tabGreetings");
    for (const CaptionRow& tab : greetingTabCaptions)
        greetings->addTab(new GreetingPage(tab.index, nullptr), resources::englishString(tab.string));
    (new QVBoxLayout(page))->addWidget(greetings);
}

void captionGreetingsTab(QWidget* page, const StringLookup& text)
{
    auto* greetings = page->findChild<QTabWidget*>(QStringLiteral("tabGreetings"));
    for (int greeting = 0; greetings && greeting < greetings->count(); ++greeting)
        if (auto* greetingPage = dynamic_cast<GreetingPage*>(greetings->widget(greeting)))
            greetingPage->applyPageCaptions(text);
    applyCaptions(page, greetingTabCaptions, text);
}

}  // namespace

const TabBuilder greetingsTab{buildGreetingsTab, captionGreetingsTab};

}  // namespace SubscriberOptions
