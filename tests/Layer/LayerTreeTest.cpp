// The layer tree: alpha, reparenting, position thresholds, bounds, draw order and callbacks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Core/Base/Delegate.h"
#include "tests/Layer/LayerScene.h"

namespace {

using testlayer::LayerSceneTest;

// Records the callbacks of a draw in a shared journal.
struct LayerTreeCallbacks {
  std::vector<std::string>* journal;
  std::string name;
  VNResultEnum before = VN_OK;
  VNResultEnum Before(render::Graphics*, layer::Layer*) {
    journal->push_back(name + ".before");
    return before;
  }
  VNResultEnum After(render::Graphics*, layer::Layer*) {
    journal->push_back(name + ".after");
    return VN_OK;
  }
  void Install(layer::Layer* layer) {
    using Callback = base::MemberDelegate2<LayerTreeCallbacks, render::Graphics*, layer::Layer*, VNResultEnum>;
    layer->SetDrawBefore(layer::Layer::DrawCallbackPtr(new Callback(this, &LayerTreeCallbacks::Before)));
    layer->SetDrawAfter(layer::Layer::DrawCallbackPtr(new Callback(this, &LayerTreeCallbacks::After)));
  }
};

struct LayerTreeAlphaCase {
  float rootAlpha, parentAlpha, childAlpha;
  bool parentInherits, childInherits;
  float expectedChildWorld;
};

TEST_F(LayerSceneTest, WorldAlphaFollowsTheInheritRule) {
  const LayerTreeAlphaCase cases[] = {
      {1.0f, 0.5f, 0.5f, true, true, 0.25f},
      {0.5f, 0.5f, 0.5f, true, true, 0.125f},
      // A child that does not inherit takes the parent's pass-down alpha (its own alpha only).
      {0.5f, 0.5f, 1.0f, true, false, 0.5f},
      // A parent that does not inherit passes its parent's pass-down value on.
      {0.5f, 0.25f, 1.0f, false, false, 0.5f},
      {1.0f, 0.0f, 1.0f, true, true, 0.0f},
  };
  for (const LayerTreeAlphaCase& c : cases) {
    layer::Layer root, parent, child;
    root.AddChild(&parent);
    parent.AddChild(&child);
    root.mAlpha = c.rootAlpha;
    parent.mAlpha = c.parentAlpha;
    parent.mInheritAlpha = c.parentInherits;
    child.mAlpha = c.childAlpha;
    child.mInheritAlpha = c.childInherits;
    EXPECT_EQ(root.Draw(nullptr), VN_OK);
    EXPECT_FLOAT_EQ(child.mWorldAlpha, c.expectedChildWorld) << c.rootAlpha << " " << c.parentAlpha;
    // Recomputed on every draw, without any flag.
    child.mAlpha = 0.0f;
    root.Draw(nullptr);
    EXPECT_FLOAT_EQ(child.mWorldAlpha, 0.0f);
  }
}

TEST_F(LayerSceneTest, AddChildTakesTheLayerFromItsOldParentAndMovesAChildToTheEnd) {
  layer::Layer first, second, a, b;
  first.AddChild(&a);
  second.AddChild(&b);
  second.AddChild(&a);
  EXPECT_TRUE(first.GetChildren().empty());
  EXPECT_EQ(a.GetParent(), &second);
  EXPECT_EQ(second.GetChildren(), (std::vector<layer::Layer*>{&b, &a}));
  second.AddChild(&b);
  EXPECT_EQ(second.GetChildren(), (std::vector<layer::Layer*>{&a, &b}));
  // A layer that is not a child: nothing happens.
  first.RemoveChild(&a);
  EXPECT_EQ(a.GetParent(), &second);
  second.RemoveChild(&a);
  EXPECT_EQ(a.GetParent(), nullptr);
  EXPECT_EQ(second.GetChildren(), (std::vector<layer::Layer*>{&b}));
}

TEST_F(LayerSceneTest, DestroyedLayerLeavesItsParentAndOrphansItsChildren) {
  layer::Layer parent, grandchild;
  auto* child = new layer::Layer;
  parent.AddChild(child);
  child->AddChild(&grandchild);
  delete child;  // while attached
  EXPECT_TRUE(parent.GetChildren().empty());
  EXPECT_EQ(grandchild.GetParent(), nullptr);
  // The tree is still sound to walk.
  EXPECT_EQ(parent.Draw(nullptr), VN_OK);
  EXPECT_EQ(Press(&parent, 1.0f, 1.0f), 1);
}

TEST_F(LayerSceneTest, SetPositionChangesOnlyBeyondTheTolerance) {
  struct Case {
    math::Point3 to;
    bool changes;
  };
  const Case cases[] = {
      {math::Point3(10.0001f, 20.0001f, 0.0001f), false},
      {math::Point3(10.0f, 20.0f, 0.0f), false},
      {math::Point3(10.001f, 20.0f, 0.0f), true},
      {math::Point3(10.0f, 20.0f, -0.001f), true},
  };
  for (const Case& c : cases) {
    layer::Layer layer;
    layer.mPosition = math::Point3(10.0f, 20.0f, 0.0f);
    layer.SetPosition(c.to);
    EXPECT_EQ(layer.mTransformChanged, c.changes);
    EXPECT_EQ(layer.mOuterBoxValid, !c.changes);
    EXPECT_EQ(layer.mPosition.x, c.changes ? c.to.x : 10.0f);
  }
  layer::Layer layer;
  layer.mPosition.y = 20.0f;
  layer.SetY(20.00001f);  // any different value counts
  EXPECT_TRUE(layer.mTransformChanged);
  EXPECT_FALSE(layer.mOuterBoxValid);
}

TEST_F(LayerSceneTest, OuterBoxFollowsScaleRotationAndPosition) {
  const float quarter = float(M_PI / 2);
  struct Case {
    const char* name;
    float scaleX, scaleY, rotationZ;
    math::Point3 position;
    float minX, minY, maxX, maxY;
  };
  const Case cases[] = {
      {"identity", 1, 1, 0, math::Point3(), 0, 0, 10, 20},
      {"moved", 1, 1, 0, math::Point3(5, -3, 0), 5, -3, 15, 17},
      {"scaled", 2, 0.5f, 0, math::Point3(), 0, 0, 20, 10},
      {"quarter turn", 1, 1, quarter, math::Point3(), -20, 0, 0, 10},
      {"quarter turn moved", 1, 1, quarter, math::Point3(100, 0, 0), 80, 0, 100, 10},
      // A negative scale turns the axis around: minimum above maximum.
      {"mirrored", -1, 1, 0, math::Point3(), 0, 0, -10, 20},
  };
  for (const Case& c : cases) {
    layer::Layer root;
    layer::RectHitLayer* child = MakeRectLayer(&root, math::Rect(0, 0, 10, 20));
    child->mScaleX = c.scaleX;
    child->mScaleY = c.scaleY;
    child->mRotationZ = c.rotationZ;
    child->SetPosition(c.position);
    child->mOuterBoxValid = false;
    EXPECT_TRUE(root.UpdateBoundsTree());
    EXPECT_NEAR(child->mOuterBox.min.x, c.minX, 1e-4) << c.name;
    EXPECT_NEAR(child->mOuterBox.min.y, c.minY, 1e-4) << c.name;
    EXPECT_NEAR(child->mOuterBox.max.x, c.maxX, 1e-4) << c.name;
    EXPECT_NEAR(child->mOuterBox.max.y, c.maxY, 1e-4) << c.name;
    // Nothing changed since: no rebuild.
    EXPECT_FALSE(root.UpdateBoundsTree()) << c.name;
  }
}

TEST_F(LayerSceneTest, TiltedLayerBoundsTakeAllEightCorners) {
  layer::Layer root;
  layer::RectHitLayer* child = MakeRectLayer(&root, math::Rect(0, 0, 10, 10));
  child->mRotationY = float(M_PI);  // turned over about y: x runs the other way
  root.UpdateBoundsTree();
  EXPECT_NEAR(child->mOuterBox.min.x, -10.0f, 1e-4);
  EXPECT_NEAR(child->mOuterBox.max.x, 0.0f, 1e-4);
  EXPECT_NEAR(child->mOuterBox.min.y, 0.0f, 1e-4);
  EXPECT_NEAR(child->mOuterBox.max.y, 10.0f, 1e-4);
}

TEST_F(LayerSceneTest, EmptySubtreeHasAnEmptyOuterBox) {
  layer::Layer root, group, inner;
  root.AddChild(&group);
  group.AddChild(&inner);
  group.SetPosition(math::Point3(5, 5, 0));
  root.UpdateBoundsTree();
  EXPECT_EQ(group.mOuterBox.min.x, std::numeric_limits<float>::max());
  EXPECT_EQ(group.mOuterBox.max.x, -std::numeric_limits<float>::max());
  group.mHitTestListener = MakeListener("g");
  EXPECT_EQ(Press(&root, 5.0f, 5.0f), 1);
}

TEST_F(LayerSceneTest, ChildBoxesGrowTheParentsSubtreeBox) {
  layer::Layer root;
  layer::Layer* group = MakeGroup(&root, 100, 0);
  MakeRectLayer(group, math::Rect(0, 0, 10, 10));
  layer::RectHitLayer* far = MakeRectLayer(group, math::Rect(0, 0, 10, 10));
  far->SetPosition(math::Point3(50, 40, 0));
  root.UpdateBoundsTree();
  EXPECT_FLOAT_EQ(group->mSubtreeBox.max.x, 60.0f);
  EXPECT_FLOAT_EQ(group->mOuterBox.min.x, 100.0f);
  EXPECT_FLOAT_EQ(group->mOuterBox.max.x, 160.0f);
  EXPECT_FLOAT_EQ(group->mOuterBox.max.y, 50.0f);
  // Moving the far child shrinks the group's box at the next refresh.
  far->SetPosition(math::Point3(0, 0, 0));
  EXPECT_TRUE(root.UpdateBoundsTree());
  EXPECT_FLOAT_EQ(group->mOuterBox.max.x, 110.0f);
}

TEST_F(LayerSceneTest, DrawWalksCallbacksContentAndChildrenInOrder) {
  layer::Layer root, a, b, hidden;
  root.AddChild(&a);
  root.AddChild(&hidden);
  root.AddChild(&b);
  hidden.mVisible = false;
  LayerTreeCallbacks rootCalls{&mJournal, "root"}, aCalls{&mJournal, "a"}, bCalls{&mJournal, "b"},
      hiddenCalls{&mJournal, "hidden"};
  rootCalls.Install(&root);
  aCalls.Install(&a);
  bCalls.Install(&b);
  hiddenCalls.Install(&hidden);
  hidden.SetPosition(math::Point3(3, 3, 0));
  EXPECT_EQ(root.Draw(nullptr), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"root.before", "a.before", "a.after", "b.before", "b.after",
                                                "root.after"}));
  // A hidden layer's transform is not brought up to date.
  EXPECT_TRUE(hidden.mTransformChanged);
  EXPECT_FALSE(hidden.mWorldTransform.IsMatrixMode() || hidden.mWorldTransform.GetSecondTranslation().x != 0.0f ||
               hidden.mWorldTransform.GetFirstTranslation().x != 0.0f);

  // A failing callback ends the walk: later children and the parent's after are skipped.
  mJournal.clear();
  aCalls.before = VN_FAIL;
  EXPECT_EQ(root.Draw(nullptr), VN_FAIL);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"root.before", "a.before"}));
}

TEST_F(LayerSceneTest, ImageLayersDrawThroughTheirWorldTransformInTreeOrder) {
  layer::Layer root;
  root.SetPosition(math::Point3(100, 50, 0));
  layer::ImageLayer* back = MakeImageLayer(&root, 10, 20, 8, 8);
  layer::ImageLayer* front = MakeImageLayer(&root, 30, 40, 4, 4);
  (void)back;
  Frame([&](render::Graphics& g) { EXPECT_EQ(root.Draw(&g), VN_OK); });
  const auto draws = mRender.Arguments("DrawIndexed");
  ASSERT_FALSE(draws.empty());
  // The last quad drawn is the front image at its world position (half-pixel shift applied).
  const std::vector<render::SVertex2D> quad = LastIndexedVertices<render::SVertex2D>();
  ASSERT_FALSE(quad.empty());
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f;
  for (const render::SVertex2D& v : quad) {
    minX = std::min(minX, v.x);
    minY = std::min(minY, v.y);
    maxX = std::max(maxX, v.x);
  }
  const size_t lastQuadVertices = quad.size();
  EXPECT_FLOAT_EQ(minX, 129.5f);
  EXPECT_FLOAT_EQ(minY, 89.5f);
  EXPECT_FLOAT_EQ(maxX, 133.5f);
  EXPECT_EQ(lastQuadVertices % 4, 0u);
  (void)front;
}

TEST_F(LayerSceneTest, ChildAddedUnderALayerThatMovedTakesItsTransform) {
  layer::Layer root, child;
  root.SetPosition(math::Point3(40, 30, 0));
  root.Draw(nullptr);
  EXPECT_TRUE(root.mTransformChanged);  // stays set after the composition
  root.AddChild(&child);
  EXPECT_TRUE(child.mParentTransformChanged);
  root.Draw(nullptr);
  math::Point3 origin;
  child.mWorldTransform.GetMatrix().TransformPoint(origin);
  EXPECT_FLOAT_EQ(origin.x, 40.0f);
  EXPECT_FLOAT_EQ(origin.y, 30.0f);
  EXPECT_FALSE(child.mParentTransformChanged);
}

TEST_F(LayerSceneTest, ScreenToLocalUndoesTheChainFromTheRootDown) {
  layer::Layer root, group, leaf;
  root.AddChild(&group);
  group.AddChild(&leaf);
  root.SetPosition(math::Point3(100, 0, 0));
  group.SetPosition(math::Point3(10, 20, 0));
  leaf.SetPosition(math::Point3(1, 2, 0));
  math::Point3 local;
  leaf.ScreenToLocal(math::Point3(150, 50, 0), local);
  EXPECT_FLOAT_EQ(local.x, 39.0f);
  EXPECT_FLOAT_EQ(local.y, 28.0f);
  // With a scaled ancestor the outermost step must come first.
  root.mScaleX = 2.0f;
  root.mScaleY = 2.0f;
  leaf.ScreenToLocal(math::Point3(150, 50, 0), local);
  EXPECT_FLOAT_EQ(local.x, (150.0f - 100.0f) / 2.0f - 10.0f - 1.0f);
  EXPECT_FLOAT_EQ(local.y, 50.0f / 2.0f - 20.0f - 2.0f);
  // A tilted layer in the chain is passed over.
  group.mRotationX = 1.0f;
  leaf.ScreenToLocal(math::Point3(150, 50, 0), local);
  EXPECT_FLOAT_EQ(local.x, 25.0f - 1.0f);
}

}  // namespace
