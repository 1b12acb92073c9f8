// A world record for handlers' labels, installed as gKovrelinWorld while the
// object lives, and a fixture pairing one with a fresh component.
#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "engine/gfunc.h"
#include "engine/world.h"

class TestWorld
{
public:
  TestWorld() : world_(std::make_unique<KovrelinWorld>())
  {
    KV_initWorldRecord(world_.get());
    gKovrelinWorld = world_.get();
  }
  ~TestWorld() { gKovrelinWorld = nullptr; }
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  KovrelinWorld* get() { return world_.get(); }
  KovrelinWorld* operator->() { return world_.get(); }

  // The label buffer as a string of its bytes.
  std::string label() const
  {
    return std::string(reinterpret_cast<const char*>(world_->label + 1), world_->label[0]);
  }

private:
  std::unique_ptr<KovrelinWorld> world_;
};

// A test with an installed world and one fresh, unbound component.
class WorldAndComponentTest : public ::testing::Test
{
protected:
  TestWorld world_;
  std::unique_ptr<gfunc> g_ = std::make_unique<gfunc>();
};
