#include <gtest/gtest.h>

#include <string>

#include "Core/Resource/ResourceManager.h"
#include "fakes/MainLogRecorder.h"

namespace {

// Counts what the manager does to resources of its type.
struct Counters {
  int created = 0;
  int deleted = 0;
  int loads = 0;
  int unloads = 0;
  VNResultEnum initResult = VN_OK;
  VNResultEnum loadResult = VN_OK;
  VNResultEnum unloadResult = VN_OK;
};

template <int Kind>
class Counting : public resource::Resource {
 public:
  static inline Counters sCounters;

  Counting() { ++sCounters.created; }
  ~Counting() override { ++sCounters.deleted; }
  VNResultEnum Release() override { return resource::ResourceManager::ReleaseFromManager(this); }
  VNResultEnum OnInit() override { return sCounters.initResult; }
  VNResultEnum DoLoad() override {
    ++sCounters.loads;
    return sCounters.loadResult;
  }
  VNResultEnum DoUnLoad() override {
    ++sCounters.unloads;
    return sCounters.unloadResult;
  }
};

using Texture = Counting<1>;
using Sound = Counting<2>;

class ResourceManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Texture::sCounters = {};
    Sound::sCounters = {};
  }
  void TearDown() override {
    EXPECT_TRUE(Manager()->GetMap<Texture>().empty());
    EXPECT_TRUE(Manager()->GetMap<Sound>().empty());
  }
  static resource::ResourceManager* Manager() { return resource::ResourceManager::Instance(); }
};

TEST_F(ResourceManagerTest, SharesOneObjectPerNameAndReleasesItWithTheLastHandle) {
  auto first = Manager()->Get<Texture>(u"ruv/a");
  ASSERT_TRUE(first);
  EXPECT_FALSE(first->IsLoaded());  // getting never loads
  EXPECT_EQ(first->GetName(), u"ruv/a");
  EXPECT_EQ(first->Load(), VN_OK);
  {
    auto second = Manager()->Get<Texture>(u"ruv/a");
    EXPECT_EQ(second.Get(), first.Get());
    EXPECT_EQ(*first.GetCount(), 2);
  }
  EXPECT_TRUE(first->IsLoaded());
  EXPECT_EQ(Texture::sCounters.deleted, 0);
  first = {};
  EXPECT_EQ(Texture::sCounters.unloads, 1);
  EXPECT_EQ(Texture::sCounters.deleted, 1);
  EXPECT_TRUE(Manager()->GetMap<Texture>().empty());

  auto third = Manager()->Get<Texture>(u"ruv/a");
  EXPECT_FALSE(third->IsLoaded());
  EXPECT_EQ(Texture::sCounters.created, 2);
}

TEST_F(ResourceManagerTest, TypesAndLetterCaseKeepResourcesApart) {
  auto texture = Manager()->Get<Texture>(u"x");
  auto sound = Manager()->Get<Sound>(u"x");
  auto upper = Manager()->Get<Texture>(u"X");
  EXPECT_NE(static_cast<void*>(texture.Get()), static_cast<void*>(sound.Get()));
  EXPECT_NE(texture.Get(), upper.Get());
  EXPECT_EQ(Manager()->GetMap<Texture>().size(), 2u);
  EXPECT_EQ(Manager()->GetMap<Sound>().size(), 1u);
}

TEST_F(ResourceManagerTest, LoadAndUnloadTwiceCallTheTypeOnceAndWarn) {
  fakes::MainLogRecorder log;
  auto texture = Manager()->Get<Texture>(u"ruv/t");
  EXPECT_EQ(texture->UnLoad(), VN_OK);
  EXPECT_EQ(Texture::sCounters.unloads, 0);
  EXPECT_EQ(log.Text(), u"Trying to UnLoad already unloaded resource 'ruv/t'.\n");
  EXPECT_EQ(texture->Load(), VN_OK);
  EXPECT_EQ(texture->Load(), VN_OK);
  EXPECT_EQ(Texture::sCounters.loads, 1);
  EXPECT_EQ(texture->UnLoad(), VN_OK);
  EXPECT_EQ(texture->UnLoad(), VN_OK);
  EXPECT_EQ(Texture::sCounters.unloads, 1);
  EXPECT_FALSE(texture->IsLoaded());
  EXPECT_EQ(log.Text(), u"Trying to UnLoad already unloaded resource 'ruv/t'.\n"
                        u"Trying to Load already loaded resource 'ruv/t'.\n"
                        u"Trying to UnLoad already unloaded resource 'ruv/t'.\n");
}

TEST_F(ResourceManagerTest, FailedLoadStaysCachedAndIsDeletedWithoutUnload) {
  Texture::sCounters.loadResult = VN_FAIL;
  auto texture = Manager()->Get<Texture>(u"bad");
  EXPECT_EQ(texture->Load(), VN_FAIL);
  EXPECT_FALSE(texture->IsLoaded());
  EXPECT_EQ(Manager()->Get<Texture>(u"bad").Get(), texture.Get());
  texture = {};
  EXPECT_EQ(Texture::sCounters.unloads, 0);
  EXPECT_EQ(Texture::sCounters.deleted, 1);
}

TEST_F(ResourceManagerTest, FailedInitGivesAnEmptyHandleAndDeletesTheObject) {
  Texture::sCounters.initResult = VN_FAIL;
  auto texture = Manager()->Get<Texture>(u"never");
  EXPECT_FALSE(texture);
  EXPECT_EQ(texture.GetCount(), nullptr);
  EXPECT_EQ(Texture::sCounters.created, 1);
  EXPECT_EQ(Texture::sCounters.deleted, 1);
}

TEST_F(ResourceManagerTest, FailedUnloadKeepsTheResourceCachedAtCountZero) {
  auto texture = Manager()->Get<Texture>(u"stuck");
  texture->Load();
  Texture* raw = texture.Get();
  Texture::sCounters.unloadResult = VN_FAIL;
  texture = {};
  EXPECT_EQ(Texture::sCounters.deleted, 0);
  auto again = Manager()->Get<Texture>(u"stuck");
  EXPECT_EQ(again.Get(), raw);
  EXPECT_EQ(*again.GetCount(), 1);
  Texture::sCounters.unloadResult = VN_OK;
}

TEST_F(ResourceManagerTest, ReleaseOfAnUnknownPointerChangesNothing) {
  auto texture = Manager()->Get<Texture>(u"kept");
  Texture stranger;
  EXPECT_EQ(Manager()->Release<Texture>(&stranger), VN_OK);
  EXPECT_EQ(Manager()->GetMap<Texture>().size(), 1u);
  EXPECT_EQ(Texture::sCounters.deleted, 0);
}

TEST_F(ResourceManagerTest, AssignmentTakesTheNewReferenceFirst) {
  auto a = Manager()->Get<Texture>(u"a");
  auto alias = a;
  alias = a;  // same resource: never released in between
  a = alias;
  a = a;
  EXPECT_EQ(*a.GetCount(), 2);
  EXPECT_EQ(Texture::sCounters.deleted, 0);

  resource::ResourcePtr<Texture> only = Manager()->Get<Texture>(u"only");
  alias = {};
  only = a;  // drops the last handle of "only"
  EXPECT_EQ(Texture::sCounters.deleted, 1);
  EXPECT_EQ(*a.GetCount(), 2);
  resource::ResourcePtr<resource::Resource> base = a;
  EXPECT_EQ(*a.GetCount(), 3);
}

// A holder of handles that outlives the manager at exit must not touch its freed maps.
struct LateHolder : base::Singletone<LateHolder> {
  ~LateHolder() override {
    Texture* resource = texture.Get();
    int* count = texture.GetCount();
    texture = {};  // the manager and its maps are gone: this must touch neither
    // The manager leaves cached resources alone at exit; free them here for the leak checker.
    delete resource;
    delete count;
  }
  resource::ResourcePtr<Texture> texture;
};

void ReleaseAfterTeardown() {
  LateHolder::Instance()->texture = resource::ResourceManager::Instance()->Get<Texture>(u"late");
  // Destroy the manager first: the holder's handle is dropped afterwards.
  base::SingletoneBase::AddDependency(resource::ResourceManager::Instance(), LateHolder::Instance());
  std::exit(0);
}

TEST(ResourceManagerExitTest, ReleaseAfterTheManagerIsGoneDoesNothing) {
  EXPECT_EXIT(ReleaseAfterTeardown(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
