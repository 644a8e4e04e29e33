import Foundation
import Sorbel
import SorbelMacros

@SorbelInit
public class Unknown: SorbelModel, Identifiable {
  public var id: Int { uid }

  @SorbelKey("created_at")
  private var createdAt: Date
  @SorbelKey("default")
  private var `default`: String
  private var uid: Int
  private var type: `Type`

  public init(
    createdAt: Date,
    default: String,
    uid: Int,
    type: `Type`
  ) {
    self.createdAt = createdAt
    self.default = `default`
    self.uid = uid
    self.type = type
  }
}

extension Unknown {
  enum `Type`: String {
    case isEmpty = "is_empty"
    case `self`
  }
}
