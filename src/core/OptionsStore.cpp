#include "core/OptionsStore.h"

#include "core/ISettingsStore.h"
#include "core/SettingsBatch.h"
#include "core/NumberText.h"

namespace {
const QString kSection = Options::Section();

QString EdgeKey(OptionsStore::Edge edge)
{
    return edge == OptionsStore::Edge::Top ? QStringLiteral("FormTop") : QStringLiteral("FormLeft");
}
} // namespace

OptionsStore::OptionsStore(ISettingsStore& store, Options& options)
    : store_(store), options_(options)
{
}

void OptionsStore::Load(Key key)
{
    options_.SetText(key, store_.Read(kSection, Options::Name(key), Options::Default(key)));
}

void OptionsStore::Store(Key key)
{
    store_.Write(kSection, Options::Name(key), options_.Text(key));
}

void OptionsStore::Set(Key key, const QString& text)
{
    options_.SetText(key, text);
    Store(key);
}

double OptionsStore::ReadEdge(Edge edge) const
{
    return NumberText::ParseDecimal(store_.Read(kSection, EdgeKey(edge), QStringLiteral("0")));
}

void OptionsStore::StoreEdges(int topTwips, int leftTwips)
{
    SettingsBatch bothEdges(store_);
    store_.Write(kSection, EdgeKey(Edge::Top), QString::number(topTwips));
    store_.Write(kSection, EdgeKey(Edge::Left), QString::number(leftTwips));
    bothEdges.Commit();
}
