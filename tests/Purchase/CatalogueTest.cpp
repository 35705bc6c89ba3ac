#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Core/File/FileManager.h"
#include "PurchaseTestSupport.h"
#include "fakes/ScriptedStoreBackend.h"

namespace {

using purchasetest::StoreFrontTest;

const char kTwoProductsCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xml>\n"
    "  <Product name=\"buy_50_cr\" text=\"Gems \xC3\xA9t\xC3\xA9\" type=\"consumable\"/>\n"
    "  <Offer name=\"not_a_product\" text=\"skipped\" type=\"consumable\"/>\n"
    "  <Product name=\"extra_energy\" text=\"Lives\" type=\"non-consumable\"/>\n"
    "</xml>\n";

using CatalogueLoadTest = StoreFrontTest;

TEST_F(CatalogueLoadTest, ReadsProductsInFileOrderAndSkipsOtherChildren) {
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", kTwoProductsCatalogue), VN_OK);

  const auto& products = Store()->GetProducts();
  ASSERT_EQ(products.size(), 2u);
  EXPECT_EQ(products[0]->name, u"buy_50_cr");
  EXPECT_EQ(products[0]->text, u"Gems \u00E9t\u00E9");
  EXPECT_EQ(products[0]->kind, 1);
  EXPECT_EQ(products[1]->name, u"extra_energy");
  EXPECT_EQ(products[1]->text, u"Lives");
  EXPECT_EQ(products[1]->kind, 0);
  for (const purchase::Product* product : products) {
    EXPECT_EQ(product->listener, nullptr);
    EXPECT_TRUE(product->price.empty());
    EXPECT_EQ(product->handle, nullptr);  // no back end: no handle, no registration
    EXPECT_FALSE(product->pending);
    EXPECT_FALSE(product->bought);
  }
  EXPECT_EQ(Store()->FindProduct(u"not_a_product"), nullptr);
}

TEST_F(CatalogueLoadTest, BackEndMakesAHandlePerProductAndRegistersItAfterwards) {
  fakes::ScriptedStoreBackend* backend = AttachBackend(false);  // availability plays no part here
  backend->SetPriceText(u"0,99 \u20AC");
  const std::shared_ptr<int> liveHandles = backend->GetLiveHandles();
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", kTwoProductsCatalogue), VN_OK);

  const auto& products = Store()->GetProducts();
  ASSERT_EQ(products.size(), 2u);
  EXPECT_EQ(backend->GetHandleElements(), (std::vector<std::string>{"buy_50_cr", "extra_energy"}));
  EXPECT_EQ(backend->GetRegistered(), products);
  for (const purchase::Product* product : products) {
    const auto* handle = dynamic_cast<const fakes::ScriptedStoreBackend::Handle*>(product->handle.get());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(std::u16string(handle->GetElementName().begin(), handle->GetElementName().end()), product->name);
    EXPECT_EQ(product->price, u"0,99 \u20AC");
  }
  EXPECT_EQ(*liveHandles, 2);

  Store()->UnloadProducts();  // the products free their handles
  EXPECT_EQ(*liveHandles, 0);
}

TEST_F(CatalogueLoadTest, MissingAttributesGiveEmptyTextAndKindZero) {
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml",
                          "<xml><Product/><Product name=\"n\"/><Product text=\"t\" type=\"consumable\"/></xml>"),
            VN_OK);
  const auto& products = Store()->GetProducts();
  ASSERT_EQ(products.size(), 3u);
  EXPECT_EQ(products[0]->name, u"");
  EXPECT_EQ(products[0]->text, u"");
  EXPECT_EQ(products[0]->kind, 0);
  EXPECT_EQ(products[1]->name, u"n");
  EXPECT_EQ(products[1]->text, u"");
  EXPECT_EQ(products[2]->name, u"");
  EXPECT_EQ(products[2]->text, u"t");
  EXPECT_EQ(products[2]->kind, 1);
}

struct CatalogueTypeCase {
  const char* type;  // null: no attribute
  int kind;
};

class CatalogueTypeTest : public StoreFrontTest, public ::testing::WithParamInterface<CatalogueTypeCase> {};

TEST_P(CatalogueTypeTest, OnlyTheExactWordConsumableMakesKindOne) {
  const CatalogueTypeCase& row = GetParam();
  std::string xml = "<xml><Product name=\"p\"";
  if (row.type) xml += std::string(" type=\"") + row.type + "\"";
  xml += "/></xml>";
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", xml), VN_OK);
  ASSERT_EQ(Store()->GetProducts().size(), 1u);
  EXPECT_EQ(Store()->GetProducts()[0]->kind, row.kind);
}

INSTANTIATE_TEST_SUITE_P(Types, CatalogueTypeTest,
                         ::testing::Values(CatalogueTypeCase{"consumable", 1}, CatalogueTypeCase{"Consumable", 0},
                                           CatalogueTypeCase{"consumable ", 0}, CatalogueTypeCase{"", 0},
                                           CatalogueTypeCase{"non-consumable", 0}, CatalogueTypeCase{nullptr, 0}));

struct BrokenCatalogueCase {
  const char* label;
  const char* bytes;  // null: no file at all
};

class BrokenCatalogueTest : public StoreFrontTest, public ::testing::WithParamInterface<BrokenCatalogueCase> {};

TEST_P(BrokenCatalogueTest, LeavesTheCatalogueEmptyAndFails) {
  const BrokenCatalogueCase& row = GetParam();
  if (row.bytes) WriteTestFile("ruv/inapp.xml", row.bytes);
  fakes::ScriptedStoreBackend* backend = AttachBackend(true);

  EXPECT_EQ(Store()->LoadProducts(u"ruv/inapp.xml"), VN_FAIL);
  EXPECT_TRUE(Store()->GetProducts().empty());
  EXPECT_TRUE(backend->GetHandleElements().empty());
  EXPECT_TRUE(backend->GetRegistered().empty());
  EXPECT_EQ(Store()->FindProduct(u"buy_50_cr"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenCatalogueTest,
    ::testing::Values(BrokenCatalogueCase{"Missing", nullptr}, BrokenCatalogueCase{"Empty", ""},
                      // A document cut in the middle adds nothing, not even the products before the cut.
                      BrokenCatalogueCase{"Cut", "<xml><Product name=\"buy_50_cr\"/><Product name="},
                      BrokenCatalogueCase{"Unclosed", "<xml><Product name=\"buy_50_cr\"/>"},
                      BrokenCatalogueCase{"OtherRoot", "<store><Product name=\"buy_50_cr\"/></store>"},
                      BrokenCatalogueCase{"NotXml", "buy_50_cr;consumable\n"}),
    [](const ::testing::TestParamInfo<BrokenCatalogueCase>& info) { return std::string(info.param.label); });

TEST_F(CatalogueLoadTest, AFolderByTheNameIsNoCatalogue) {
  std::filesystem::create_directories("ruv/inapp.xml");
  EXPECT_EQ(Store()->LoadProducts(u"ruv/inapp.xml"), VN_FAIL);
  EXPECT_TRUE(Store()->GetProducts().empty());
}

TEST_F(CatalogueLoadTest, ByteOrderMarkIsAccepted) {
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", "\xEF\xBB\xBF<xml><Product name=\"buy_health\"/></xml>"), VN_OK);
  EXPECT_NE(Store()->FindProduct(u"buy_health"), nullptr);
}

TEST_F(CatalogueLoadTest, LoadingTwiceListsEveryProductTwiceAndLookupFindsTheFirst) {
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", kTwoProductsCatalogue), VN_OK);
  ASSERT_EQ(Store()->LoadProducts(u"ruv/inapp.xml"), VN_OK);

  const auto& products = Store()->GetProducts();
  ASSERT_EQ(products.size(), 4u);
  EXPECT_EQ(products[2]->name, u"buy_50_cr");
  EXPECT_EQ(products[3]->name, u"extra_energy");
  EXPECT_NE(products[0], products[2]);
  EXPECT_EQ(Store()->FindProduct(u"buy_50_cr"), products[0]);
  EXPECT_EQ(Store()->FindProduct(u"extra_energy"), products[1]);
}

TEST_F(CatalogueLoadTest, LookupIsExactAndCaseSensitive) {
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", kTwoProductsCatalogue), VN_OK);
  EXPECT_EQ(Store()->FindProduct(u"buy_50_cr"), Store()->GetProducts()[0]);
  EXPECT_EQ(Store()->FindProduct(u"BUY_50_CR"), nullptr);
  EXPECT_EQ(Store()->FindProduct(u"Buy_50_cr"), nullptr);
  EXPECT_EQ(Store()->FindProduct(u"buy_50_cr "), nullptr);
  EXPECT_EQ(Store()->FindProduct(u"buy_50"), nullptr);
  EXPECT_EQ(Store()->FindProduct(u""), nullptr);
  EXPECT_EQ(Store()->FindProduct(u"buy_1000_cr"), nullptr);
}

TEST_F(CatalogueLoadTest, CatalogueInsideAMountedPack) {
  const std::u16string pack = filetest::UniquePackName();
  WriteTestFile(std::string(pack.begin(), pack.end()),
                filetest::MakePack({{u"inapp.xml", "<xml><Product name=\"buy_health\" type=\"consumable\"/></xml>"}}));
  // Names inside the pack are relative to the mounted prefix; the disk copy is hidden meanwhile.
  WriteTestFile("ruv/inapp.xml", kTwoProductsCatalogue);
  file::FileManager::Instance()->GetMountTable()[u"ruv/"] = pack;

  ASSERT_EQ(Store()->LoadProducts(u"ruv/inapp.xml"), VN_OK);
  ASSERT_EQ(Store()->GetProducts().size(), 1u);
  EXPECT_EQ(Store()->GetProducts()[0]->name, u"buy_health");
  EXPECT_EQ(Store()->GetProducts()[0]->kind, 1);
}

TEST_F(CatalogueLoadTest, ShowBuyMenuPassesItsArgumentsThroughAndIsSafeWithoutBackEnd) {
  Store()->ShowBuyMenu(u"text", u"a", u"b", u"c", u"d");  // no back end: nothing

  fakes::ScriptedStoreBackend* backend = AttachBackend(false);
  Store()->ShowBuyMenu(u"text", u"a", u"b", u"c", u"d");
  ASSERT_EQ(backend->GetBuyMenus().size(), 1u);
  EXPECT_EQ(backend->GetBuyMenus()[0], (std::vector<std::u16string>{u"text", u"a", u"b", u"c", u"d"}));
}

TEST_F(CatalogueLoadTest, ReplacingTheBackEndDeletesTheOldOne) {
  bool firstDestroyed = false;
  bool secondDestroyed = false;
  Store()->SetBackend(new fakes::ScriptedStoreBackend(true, &firstDestroyed));
  Store()->SetBackend(new fakes::ScriptedStoreBackend(true, &secondDestroyed));
  EXPECT_TRUE(firstDestroyed);
  EXPECT_FALSE(secondDestroyed);
  Store()->SetBackend(nullptr);
  EXPECT_TRUE(secondDestroyed);
}

// The committed sample catalogue holds every product the game looks up.
TEST_F(CatalogueLoadTest, SampleCatalogueListsTheGamesProducts) {
  std::ifstream in(std::string(QM_SOURCE_DIR) + "/data/ruv/inapp.xml", std::ios::binary);
  ASSERT_TRUE(in.good());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", bytes.str()), VN_OK);

  struct Expected {
    std::u16string name;
    int kind;
  };
  const Expected expected[] = {
      {u"buy_50_cr", 1},  {u"buy_150_cr", 1},           {u"buy_300_cr", 1},   {u"buy_500_cr", 1},
      {u"buy_1000_cr", 1}, {u"buy_health", 1},          {u"reset_premium_points", 1},
      {u"extra_energy", 0}, {u"energy_speed", 0},       {u"energy_refill", 0},
  };
  EXPECT_EQ(Store()->GetProducts().size(), std::size(expected));
  for (const Expected& product : expected) {
    const purchase::Product* found = Store()->FindProduct(product.name);
    ASSERT_NE(found, nullptr) << std::string(product.name.begin(), product.name.end());
    EXPECT_EQ(found->kind, product.kind) << std::string(product.name.begin(), product.name.end());
    EXPECT_FALSE(found->text.empty());
  }
}

}  // namespace
